#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "Core/System/Log.h"
#include "Core/Text/TextFunc.h"

namespace {

const int kBlockSize = 60010;
const int kBlockStep = 1000;
const int kSmallestBlock = 1000;

bool SameFile(const char* source, const char* target) {
    if (std::strcmp(source, target) == 0) return true;
    struct stat a{};
    struct stat b{};
    return stat(source, &a) == 0 && stat(target, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

bool WriteBlock(int fd, const char* data, int size) {
    ssize_t written;
    do {
        written = write(fd, data, static_cast<size_t>(size));
    } while (written < 0 && errno == EINTR);
    return written == size;
}

}  // namespace

int FileCopy(const char* source, const char* target) {
    if (source == nullptr) return -1;
    if (target == nullptr) return -5;
    // Names are compared as the file system sees them: two spellings of one
    // file must not get here, where the target is deleted before the copy.
    if (SameFile(source, target)) return 0;
    struct stat info{};
    if (stat(source, &info) != 0) return -1;
    if (access(target, F_OK) == 0 && unlink(target) != 0) return -2;

    int size = kBlockSize;
    char* block = nullptr;
    while (size >= kSmallestBlock && (block = static_cast<char*>(std::malloc(size))) == nullptr) {
        size -= kBlockStep;
    }
    if (block == nullptr) return -3;

    int result = 0;
    const int in = open(source, O_RDONLY | O_CLOEXEC);
    int out = -1;
    struct stat opened{};
    if (in < 0 || fstat(in, &opened) != 0 || S_ISDIR(opened.st_mode)) {
        result = -4;
    } else {
        out = open(target, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (out < 0) result = -5;
    }
    while (result == 0) {
        const int n = fdread(in, block, size);
        if (n <= 0) break;
        if (!WriteBlock(out, block, n)) result = -6;
    }
    if (in >= 0) close(in);
    if (out >= 0) close(out);
    std::free(block);
    if (result == 0 && access(target, F_OK) != 0) return -7;
    return result;
}
