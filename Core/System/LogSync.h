#pragma once
// The log's forced writes to disk, done by a helper thread so that the
// user-interface thread never waits for the disk on a routine one. Used by
// the log alone.

namespace zam {

/// Has fd forced to disk soon; a request made while one runs is served by
/// one more forced write after it (requests never pile up).
void SyncInBackground(int fd);

/// Returns when no forced write is pending or running, so a file handed to
/// SyncInBackground may be closed.
void WaitForBackgroundSync();

}  // namespace zam
