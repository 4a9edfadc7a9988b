#pragma once
// The three time stamps of a file or folder, read without opening it, so that
// folders and files locked or unreadable to us still answer.

#include <cstdint>

namespace zam::platform {

/// An instant as seconds and nanoseconds since 1 January 1970, universal time.
struct FileStamp {
    int64_t Seconds = 0;
    int32_t Nanoseconds = 0;
};

struct FileTimes {
    FileStamp Access;        ///< last access
    FileStamp Modification;  ///< last write of the contents
    FileStamp Creation;      ///< birth time, or the status-change time where none is recorded
    bool CreationIsBirth = false;  ///< false when Creation holds the status-change time
};

/// Reads the stamps of path; 0, -1 when the path cannot be reached (missing,
/// no permission, null), -2 when the file system gives no access or
/// modification time.
int GetFileTimes(const char* path, FileTimes& out);

}  // namespace zam::platform
