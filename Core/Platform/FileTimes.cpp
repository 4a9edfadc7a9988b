#include "Core/Platform/FileTimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace zam::platform {

namespace {

FileStamp FromStatx(const struct statx_timestamp& ts) {
    FileStamp stamp;
    stamp.Seconds = ts.tv_sec;
    stamp.Nanoseconds = static_cast<int32_t>(ts.tv_nsec);
    return stamp;
}

FileStamp FromTimespec(const timespec& ts) {
    FileStamp stamp;
    stamp.Seconds = ts.tv_sec;
    stamp.Nanoseconds = static_cast<int32_t>(ts.tv_nsec);
    return stamp;
}

// Kernels or sandboxes without statx still have stat; there is no birth time
// then, so creation falls back to the status change as everywhere else.
int ReadWithStat(const char* path, FileTimes& out) {
    struct stat st {};
    if (stat(path, &st) != 0) return -1;
    out.Access = FromTimespec(st.st_atim);
    out.Modification = FromTimespec(st.st_mtim);
    out.Creation = FromTimespec(st.st_ctim);
    out.CreationIsBirth = false;
    return 0;
}

}  // namespace

int GetFileTimes(const char* path, FileTimes& out) {
    out = FileTimes{};
    if (path == nullptr || *path == '\0') return -1;

    struct statx stx {};
    const unsigned wanted = STATX_ATIME | STATX_MTIME | STATX_CTIME | STATX_BTIME;
    if (statx(AT_FDCWD, path, AT_STATX_SYNC_AS_STAT, wanted, &stx) != 0) {
        if (errno == ENOSYS || errno == EPERM) return ReadWithStat(path, out);
        return -1;
    }
    if ((stx.stx_mask & (STATX_ATIME | STATX_MTIME)) != (STATX_ATIME | STATX_MTIME)) return -2;
    out.Access = FromStatx(stx.stx_atime);
    out.Modification = FromStatx(stx.stx_mtime);
    if (stx.stx_mask & STATX_BTIME) {
        out.Creation = FromStatx(stx.stx_btime);
        out.CreationIsBirth = true;
    } else if (stx.stx_mask & STATX_CTIME) {
        out.Creation = FromStatx(stx.stx_ctime);
    } else {
        return -2;
    }
    return 0;
}

}  // namespace zam::platform
