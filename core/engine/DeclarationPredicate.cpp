#include "engine/DeclarationPredicate.h"

namespace quillet {

namespace {

// ICU's "\s": the White_Space property.
bool isWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

// The code point at `i` and its length in bytes; a byte that starts no well-formed sequence is
// taken alone (and is no white space).
std::pair<char32_t, std::size_t> codePointAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0xC0 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (length == 1 || i + length > text.size()) {
        return {lead, 1};
    }
    char32_t c = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return {lead, 1};
        }
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    return {c, length};
}

} // namespace

// A run of white space is walked only by the sign right before it, so the whole text is read
// about once, whatever it holds.
bool DeclarationPredicate::matches(std::string_view text) const {
    for (auto sign = text.find_first_of("+,-"); sign != std::string_view::npos;
         sign = text.find_first_of("+,-", sign + 1)) {
        auto next = sign + 1;
        while (next < text.size()) {
            const auto [c, length] = codePointAt(text, next);
            if (!isWhiteSpace(c)) {
                break;
            }
            next += length;
        }
        if (next < text.size() && text[next] == '(') {
            return true;
        }
    }
    return false;
}

} // namespace quillet
