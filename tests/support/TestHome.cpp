#include "support/TestHome.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace quillet::test {

std::string useFreshHome() {
    std::string home = (std::filesystem::temp_directory_path() / "quillet-home-XXXXXX").string();
    if (::mkdtemp(home.data()) == nullptr) {
        return {};
    }
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    return home;
}

void removeHome(const std::string& home) {
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}

} // namespace quillet::test
