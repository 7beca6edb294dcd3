#include "fs/Durability.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace quillet::fs {

Status syncFileSystemOf(const std::string& path) {
#ifdef __linux__
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Error{"Could not open " + path + " to sync it: " + std::strerror(errno)};
    }
    const int synced = ::syncfs(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0) {
        return Error{"Could not sync the file system of " + path + ": " + std::strerror(error)};
    }
#else
    (void)path;
    ::sync();
#endif
    return Status::success();
}

} // namespace quillet::fs
