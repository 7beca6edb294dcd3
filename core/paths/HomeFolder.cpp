#include "paths/HomeFolder.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace quillet {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/tmp";
}

} // namespace quillet
