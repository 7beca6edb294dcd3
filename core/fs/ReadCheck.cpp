#include "fs/ReadCheck.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "concurrency/ParallelFor.h"

namespace quillet::fs {

namespace {

// Reads overlap well with each other on a disk that has to seek.
constexpr unsigned kReadThreads = 4;

// Why the regular file at `path` cannot be read to its end, or nothing when it can (or is not a
// regular file).
std::optional<std::string> readProblem(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::string(std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::string(std::strerror(errno));
    }
    constexpr std::size_t kChunk = std::size_t{64} * 1024;
    std::array<char, kChunk> buffer{};
    std::optional<std::string> problem;
    while (true) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            problem = std::strerror(errno);
        }
        if (got <= 0) {
            break;
        }
    }
    ::close(fd);
    return problem;
}

} // namespace

std::vector<UnreadableEntry> unreadableEntries(const std::string& root, const Listing& listing,
                                               const CheckProgress& progress) {
    std::vector<UnreadableEntry> unreadable;
    for (const auto& folder : listing.unlistedFolders) {
        unreadable.push_back({root + "/" + folder + "/", "the folder cannot be listed"});
    }
    const auto& paths = listing.subpaths;
    std::vector<std::optional<std::string>> problems(paths.size());
    if (progress) {
        progress(0, paths.size());
    }
    parallelForReporting(
        paths.size(), kReadThreads,
        [&](std::size_t i) { problems[i] = readProblem(root + "/" + paths[i]); },
        [&](std::size_t done) {
            if (progress) {
                progress(done, paths.size());
            }
        });
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (problems[i]) {
            unreadable.push_back({root + "/" + paths[i], *problems[i]});
        }
    }
    return unreadable;
}

} // namespace quillet::fs
