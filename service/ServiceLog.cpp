#include "ServiceLog.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace quillet::service {

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\') {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

void ServiceLog::write(std::string_view text) const {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    // One call per line: stdio locks the stream for it, so lines from threads never mix.
    std::fprintf(stderr, "%s %s\n", stamp, escaped(text).c_str());
}

} // namespace quillet::service
