#pragma once
// Settings that the window and the console countdown read alike.

/// The `Overtime` setting (default NO). Read without writing it back, so a
/// profile that never asked for it stays as it was.
int ReadOvertime();
