#include "text/Utf.h"

#include <cstdint>

namespace quillet::text {

namespace {

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        // Fast path over ASCII, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            __builtin_memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            p += 8;
        }
        if (p == end) {
            break;
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int extra;
        char32_t min;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1, min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2, min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3, min = 0x10000;
        } else {
            return false;
        }
        if (end - p <= extra) {
            return false;
        }
        char32_t cp = lead & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        p += extra + 1;
    }
    return true;
}

std::optional<std::string> utf16ToUtf8(std::string_view bytes, ByteOrder order) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    const auto unitAt = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(order == ByteOrder::littleEndian ? (b << 8) | a
                                                                      : (a << 8) | b);
    };
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return std::nullopt;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 2 >= bytes.size()) {
                return std::nullopt;
            }
            const char16_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) {
                return std::nullopt;
            }
            appendUtf8(out,
                       0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

namespace {

void appendUnit(std::string& out, char16_t unit, ByteOrder order) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    if (order == ByteOrder::littleEndian) {
        out += low;
        out += high;
    } else {
        out += high;
        out += low;
    }
}

} // namespace

std::string utf8ToUtf16(std::string_view utf8, ByteOrder order) {
    std::string out;
    out.reserve(utf8.size() * 2);
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        const unsigned char lead = *p;
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int i = 1; i <= extra && p + i < end; ++i) {
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        p += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            appendUnit(out, static_cast<char16_t>(0xD800 + (cp >> 10)), order);
            appendUnit(out, static_cast<char16_t>(0xDC00 + (cp & 0x3FF)), order);
        } else {
            appendUnit(out, static_cast<char16_t>(cp), order);
        }
    }
    return out;
}

} // namespace quillet::text
