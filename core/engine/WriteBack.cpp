#include "engine/WriteBack.h"

#include "fs/AtomicFile.h"
#include "log/Log.h"

namespace quillet {

bool writeLogged(std::string_view content, const std::string& path, std::string_view function) {
    if (const auto error = fs::writeFileAtomically(path, content)) {
        log(QLOG_SITE(function), *error);
        return false;
    }
    return true;
}

} // namespace quillet
