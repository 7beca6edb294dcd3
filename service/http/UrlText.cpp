#include "UrlText.h"

#include <algorithm>
#include <cctype>

namespace quillet::service {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::optional<std::string> percentDecoded(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += plusIsSpace && text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

std::optional<std::string> formField(std::string_view body, std::string_view name) {
    while (!body.empty()) {
        const auto amp = body.find('&');
        const auto pair = body.substr(0, amp);
        const auto equals = pair.find('=');
        const auto key = percentDecoded(pair.substr(0, equals), true);
        if (key && *key == name) {
            return percentDecoded(equals == std::string_view::npos ? std::string_view()
                                                                   : pair.substr(equals + 1),
                                  true);
        }
        body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
    }
    return std::nullopt;
}

std::optional<std::string_view> originPart(std::string_view target) {
    const bool visible =
        std::all_of(target.begin(), target.end(), [](char c) { return c > 0x20 && c < 0x7F; });
    if (!visible || target.empty()) {
        return std::nullopt;
    }
    if (target.starts_with('/')) {
        return target;
    }
    const auto schemeEnd = target.find("://");
    if (schemeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    std::string scheme(target.substr(0, schemeEnd));
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (scheme != "http" && scheme != "https") {
        return std::nullopt;
    }
    const auto authorityEnd = target.find_first_of("/?", schemeEnd + 3);
    if (authorityEnd == schemeEnd + 3) {
        return std::nullopt; // no host
    }
    if (authorityEnd == std::string_view::npos || target[authorityEnd] == '?') {
        return std::string_view("/");
    }
    return target.substr(authorityEnd);
}

} // namespace quillet::service
