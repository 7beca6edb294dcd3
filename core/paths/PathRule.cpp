#include "paths/PathRule.h"

#include "text/IcuPattern.h"

namespace quillet {

bool isAcceptedPath(std::string_view path) {
    thread_local text::IcuPattern rule("^[A-Za-z0-9_/.-]{1,}$");
    return rule.matches(path);
}

bool isAcceptedBackupDirectory(std::string_view path) {
    return path.starts_with('/') && isAcceptedPath(path);
}

} // namespace quillet
