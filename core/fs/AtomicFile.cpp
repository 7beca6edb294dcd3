#include "fs/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fs/StaleTemporaries.h"

namespace quillet::fs {

namespace {

Error describe(const std::string& path, int error) {
    return {"Could not write " + path + ": " + std::strerror(error)};
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A free hidden name beside `path` for a file of this process.
std::string temporaryName(const std::string& path) {
    static thread_local std::minstd_rand generator{std::random_device{}()};
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + temporaryNameOf(name, std::to_string(generator()));
}

#ifdef O_TMPFILE
std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}
#endif

// Opens a new file for the content: unnamed where the system can, else a hidden temporary one
// (`temporary` then names it). The umask applies to its mode like to any new file.
int createFile(const std::string& path, std::string& temporary) {
#ifdef O_TMPFILE
    // An unnamed file is named through /proc, so it is used only where /proc is there.
    static const bool canName = ::access("/proc/self/fd", F_OK) == 0;
    const int unnamed =
        canName ? ::open(folderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    if (unnamed >= 0) {
        temporary.clear();
        return unnamed;
    }
#endif
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryName(path);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Gives a complete unnamed file a temporary name beside `path`; true when it has one.
bool nameUnnamed(int fd, const std::string& path, std::string& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryName(path);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    temporary.clear();
    return false;
}

// Gives the new file the old one's owner and returns the permission bits it may keep. Only root
// may give a file away; anyone else keeps the new file, which then must not carry the set-user or
// set-group ID of someone else (a write into the old file would have cleared them too). Not a
// failure: the content is what was asked for. Standard error, not the log, says why the owner
// changed: the log's own file is written through here while the log holds its lock.
mode_t keptMode(const std::string& path, int fd, const struct stat& existing) {
    const mode_t mode = existing.st_mode & 07777;
    if ((existing.st_uid == ::geteuid() && existing.st_gid == ::getegid()) ||
        ::fchown(fd, existing.st_uid, existing.st_gid) == 0) {
        return mode;
    }
    std::fprintf(stderr, "quillet: %s keeps its content but not its owner %u:%u (%s)\n",
                 path.c_str(), static_cast<unsigned>(existing.st_uid),
                 static_cast<unsigned>(existing.st_gid), std::strerror(errno));
    return mode & ~mode_t{S_ISUID | S_ISGID};
}

// Gives a complete new file the name `path`, failing when something already has it.
bool nameNewFile(int fd, const std::string& temporary, const std::string& path) {
    if (temporary.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    return ::link(temporary.c_str(), path.c_str()) == 0;
}

} // namespace

Status writeNewFile(const std::string& from, const std::string& to, std::string_view content) {
    struct stat existing {};
    if (::lstat(from.c_str(), &existing) != 0) {
        return describe(to, errno);
    }
    if (!S_ISREG(existing.st_mode)) {
        return describe(to, EINVAL);
    }
    std::string temporary;
    const int fd = createFile(to, temporary);
    if (fd < 0) {
        return describe(to, errno);
    }
    // The new file is this process's own: it takes the old one's permissions, never its
    // set-user or set-group ID.
    const bool ok = writeAll(fd, content) && ::fchmod(fd, existing.st_mode & 0777) == 0 &&
                    nameNewFile(fd, temporary, to);
    const int error = errno;
    ::close(fd);
    if (!temporary.empty()) {
        ::unlink(temporary.c_str());
    }
    return ok ? Status::success() : describe(to, error);
}

Status writeFileAtomically(const std::string& path, std::string_view content, Access access) {
    struct stat existing {};
    const bool exists = ::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (exists && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return describe(path, EACCES);
    }
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        return describe(path, errno);
    }

    std::string temporary;
    const int fd = createFile(path, temporary);
    if (fd < 0) {
        return describe(path, errno);
    }
    // The mode is set before any content goes in: a secret never sits in a file others may open.
    bool ok = true;
    if (exists || access == Access::ownerOnly) {
        const mode_t mode = exists ? keptMode(path, fd, existing) : mode_t{0600};
        ok = ::fchmod(fd, access == Access::ownerOnly ? mode & ~mode_t{077} : mode) == 0;
    }
    ok = ok && writeAll(fd, content);
    int error = errno;
    // An unnamed file is named only now, when nothing is left to write into it.
    if (ok && temporary.empty() && !nameUnnamed(fd, path, temporary)) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        return describe(path, error);
    }
    return Status::success();
}

} // namespace quillet::fs
