#pragma once
// Settings that the window and the console countdown read alike, added past
// the designed ones. They are read without being written back, so a profile
// that never asked for them stays as it was.

/// A boolean setting of section "SYS" (YES/NO), def when missing.
bool ReadFlag(const char* key, bool def);

/// The `Overtime` setting (default NO).
int ReadOvertime();
