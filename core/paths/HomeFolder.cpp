#include "paths/HomeFolder.h"

#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace quillet {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    // The reentrant lookup: any thread may ask, and getpwuid's entry is shared by all.
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && entry.pw_dir != nullptr) {
        return entry.pw_dir;
    }
    return "/tmp";
}

} // namespace quillet
