#include "fs/StaleTemporaries.h"

#include <cerrno>
#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace quillet::fs {

namespace {

constexpr std::string_view marker = ".quillet-";

} // namespace

std::string temporaryNameOf(std::string_view name, std::string_view tag) {
    std::string result(1, '.');
    result.append(name).append(marker).append(std::to_string(::getpid()));
    result.append(1, '-').append(tag);
    return result;
}

bool isStaleTemporary(std::string_view fileName) {
    if (!fileName.starts_with('.')) {
        return false;
    }
    const auto at = fileName.rfind(marker);
    if (at == std::string_view::npos) {
        return false;
    }
    auto digits = fileName.substr(at + marker.size());
    long long pid = 0;
    std::size_t length = 0;
    while (length < digits.size() && length < 10 && digits[length] >= '0' &&
           digits[length] <= '9') {
        pid = pid * 10 + (digits[length] - '0');
        ++length;
    }
    if (length == 0 || length >= digits.size() || digits[length] != '-' || pid <= 0) {
        return false;
    }
    // No such process: nobody can be writing it any more.
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::vector<std::string> removeStaleTemporaries(const std::string& root,
                                                const std::vector<std::string>& relativePaths) {
    std::vector<std::string> removed;
    for (const auto& relative : relativePaths) {
        const auto slash = relative.rfind('/');
        const std::string_view name =
            slash == std::string::npos ? relative : std::string_view(relative).substr(slash + 1);
        if (!isStaleTemporary(name)) {
            continue;
        }
        const std::string path = root + "/" + relative;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::unlink(path.c_str()) == 0) {
            removed.push_back(path);
        }
    }
    return removed;
}

} // namespace quillet::fs
