#include "engine/MethodPrefix.h"

namespace quillet {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isValidMethodPrefix(std::string_view prefix) {
    if (prefix.size() > maxMethodPrefixLength) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const char c = prefix[i];
        if (!isAsciiLetter(c) && c != '_' && !(i > 0 && isAsciiDigit(c))) {
            return false;
        }
    }
    return true;
}

bool isValidClassPrefix(std::string_view prefix) {
    return isValidMethodPrefix(prefix) && (prefix.empty() || isAsciiLetter(prefix[0]));
}

} // namespace quillet
