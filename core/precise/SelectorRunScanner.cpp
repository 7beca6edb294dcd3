#include "precise/SelectorRunScanner.h"

namespace quillet {

namespace {

bool isSelectorChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == ':';
}

} // namespace

void collectSelectorRuns(std::string_view bytes, ReferenceCollector& references) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (!isSelectorChar(bytes[at])) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        while (at < bytes.size() && isSelectorChar(bytes[at])) {
            ++at;
        }
        const auto run = bytes.substr(start, at - start);
        const auto lastColon = run.rfind(':');
        if (lastColon == std::string_view::npos) {
            continue;
        }
        const auto upToColon = run.substr(0, lastColon + 1);
        references.fixed(upToColon);
        references.fixed(upToColon.substr(1));
    }
}

} // namespace quillet
