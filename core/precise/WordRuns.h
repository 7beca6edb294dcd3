#pragma once

#include <cstddef>
#include <string_view>

namespace quillet {

// Calls `found(word)` for each run of identifier characters (letters, digits, "_", "$") in a
// text that is not read as code: Swift, a binary file, a file of unsure encoding.
template <typename Found> void forEachWord(std::string_view text, Found&& found) {
    const auto isWordCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '$';
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isWordCharacter(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && isWordCharacter(text[i])) {
            ++i;
        }
        found(text.substr(start, i - start));
    }
}

} // namespace quillet
