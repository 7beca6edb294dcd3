#include "fs/Durability.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillet::fs {

bool syncFileSystemOf(const std::string& path) {
#ifdef __linux__
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
#else
    (void)path;
    ::sync();
    return true;
#endif
}

} // namespace quillet::fs
