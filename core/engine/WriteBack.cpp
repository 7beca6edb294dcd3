#include "engine/WriteBack.h"

#include "fs/AtomicFile.h"
#include "log/Log.h"

namespace quillet {

bool writeLogged(std::string_view content, const std::string& path, std::string_view function) {
    if (const auto written = fs::writeFileAtomically(path, content); !written) {
        log(QLOG_SITE(function), written.error().message);
        return false;
    }
    return true;
}

} // namespace quillet
