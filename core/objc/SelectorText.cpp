#include "objc/SelectorText.h"

namespace quillet::objc {

namespace {

bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}

} // namespace

bool isKeywordSelector(std::string_view text) {
    if (text.empty() || !isNameStart(text.front()) || text.back() != ':') {
        return false;
    }
    bool nameStart = true; // at the first character of a keyword
    for (const char c : text) {
        if (c == ':') {
            nameStart = true;
        } else if (nameStart ? isNameStart(c) : isNameChar(c)) {
            nameStart = false;
        } else {
            return false;
        }
    }
    return true;
}

std::vector<std::string> keywordsOf(std::string_view selector) {
    std::vector<std::string> keywords;
    std::size_t start = 0;
    for (std::size_t i = 0; i < selector.size(); ++i) {
        if (selector[i] == ':') {
            keywords.emplace_back(selector.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    return keywords;
}

} // namespace quillet::objc
