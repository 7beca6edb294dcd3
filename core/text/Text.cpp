#include "text/Text.h"

#include <cstdint>
#include <cstring>

namespace quillet::text {

namespace {

const char* find(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) {
        return haystack.data();
    }
    return static_cast<const char*>(
        memmem(haystack.data(), haystack.size(), needle.data(), needle.size()));
}

// Decodes one code point from valid UTF-8 and advances `i`.
char32_t decode(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    ++i;
    for (; extra > 0 && i < s.size(); --extra, ++i) {
        cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    }
    return cp;
}

// Maps a code point to a key whose order is the order of its UTF-16 encoding: supplementary
// characters (surrogate pairs) sort between U+D7FF and U+E000.
std::uint32_t utf16OrderKey(char32_t cp) {
    if (cp < 0xD800) {
        return cp;
    }
    if (cp >= 0x10000) {
        return 0xD800 + (cp - 0x10000);
    }
    return cp + 0x100000;
}

} // namespace

bool contains(std::string_view haystack, std::string_view needle) {
    return find(haystack, needle) != nullptr;
}

std::vector<std::string_view> splitViews(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (true) {
        const auto* hit = static_cast<const char*>(
            std::memchr(text.data() + start, separator, text.size() - start));
        if (hit == nullptr) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        const auto end = static_cast<std::size_t>(hit - text.data());
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::vector<std::string> split(std::string_view text, char separator) {
    const auto views = splitViews(text, separator);
    return {views.begin(), views.end()};
}

std::string join(const std::vector<std::string>& pieces, std::string_view separator) {
    std::size_t size = pieces.empty() ? 0 : (pieces.size() - 1) * separator.size();
    for (const auto& piece : pieces) {
        size += piece.size();
    }
    std::string joined;
    joined.reserve(size);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += pieces[i];
    }
    return joined;
}

bool replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return false;
    }
    const char* hit = find(text, from);
    if (hit == nullptr) {
        return false;
    }
    std::string result;
    result.reserve(text.size());
    std::string_view rest = text;
    while (hit != nullptr) {
        const auto offset = static_cast<std::size_t>(hit - rest.data());
        result.append(rest.substr(0, offset));
        result.append(to);
        rest.remove_prefix(offset + from.size());
        hit = find(rest, from);
    }
    result.append(rest);
    text = std::move(result);
    return true;
}

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            units += byte >= 0xF0 ? 2 : 1;
        }
    }
    return units;
}

int compareUtf16(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ka = utf16OrderKey(decode(a, i));
        const auto kb = utf16OrderKey(decode(b, j));
        if (ka != kb) {
            return ka < kb ? -1 : 1;
        }
    }
    return (i < a.size() ? 1 : 0) - (j < b.size() ? 1 : 0);
}

} // namespace quillet::text
