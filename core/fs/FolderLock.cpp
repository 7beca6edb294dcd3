#include "fs/FolderLock.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quillet::fs {

Result<FolderLock> FolderLock::take(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return Error{folder + ": " + std::strerror(errno)};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return Error{
            folder + ": " +
            (error == EWOULDBLOCK ? "another run is working on it" : std::strerror(error))};
    }
    return FolderLock(fd);
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        ::close(fd_); // closing the last descriptor lets go of the lock
    }
}

} // namespace quillet::fs
