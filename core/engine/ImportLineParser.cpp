#include "engine/ImportLineParser.h"

#include "text/Text.h"

namespace quillet {

std::optional<std::string> ImportLineParser::headerName(std::string_view line) {
    if (!text::contains(line, "#import") || !line_.matches(line)) {
        return std::nullopt;
    }
    const auto words = word_.findAll(line);
    if (words.size() < 2) {
        return std::nullopt;
    }
    return std::string(words[1]);
}

} // namespace quillet
