#pragma once
// Scheduling of the library's own helper threads.

namespace zam::platform {

/// Makes the calling thread a background one: it keeps its fair share of the
/// processor but, when it wakes (say, from waiting for the disk), it does not
/// push aside the thread running on that processor; it waits for its turn.
/// False when the system refuses (the thread then runs as before).
bool MakeBackgroundThread();

}  // namespace zam::platform
