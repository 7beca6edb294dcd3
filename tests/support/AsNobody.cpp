#include "support/AsNobody.h"

#include <cerrno>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillet::test {

namespace {

constexpr uid_t nobody = 65534;

bool becomeNobody() {
    if (::geteuid() != 0) {
        return true; // already someone permissions apply to
    }
    return ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 && ::setuid(nobody) == 0;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ::_exit(3);
        }
        written += static_cast<std::size_t>(n);
    }
}

} // namespace

std::optional<std::string> asNobody(const std::function<std::string()>& work) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return std::nullopt;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(pipeFds[0]);
        if (!becomeNobody()) {
            ::_exit(2);
        }
        writeAll(pipeFds[1], work());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

bool canBecomeNobody() {
    return asNobody([] { return std::string("switched"); }) ==
           std::optional<std::string>("switched");
}

void openToEveryone(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    fs::permissions(folder, fs::perms::all, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_symlink()) {
            fs::permissions(entry.path(),
                            entry.is_directory()
                                ? fs::perms::all
                                : fs::perms::owner_read | fs::perms::owner_write |
                                      fs::perms::group_read | fs::perms::group_write |
                                      fs::perms::others_read | fs::perms::others_write,
                            fs::perm_options::add);
        }
    }
}

} // namespace quillet::test
