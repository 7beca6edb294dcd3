#include "text/LegacyEncoding.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <vector>

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>
#include <unicode/ustring.h>

namespace quillet::text {

namespace {

// Shift_JIS reads 0x5C as the yen sign in some tables, so it is tried only when the detector is
// fairly sure (of 100) that the file is Japanese.
constexpr int32_t shiftJisConfidence = 40;
// The single-byte converter every byte survives: what a detected single-byte file is read as.
constexpr const char* byteTransparent = "ISO-8859-1";

constexpr std::array<std::string_view, 5> multiByteCharsets = {"GB18030", "Shift_JIS", "EUC-JP",
                                                               "EUC-KR", "Big5"};

struct ConverterClose {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterClose>;

// A converter that fails on any byte or character it cannot map, instead of substituting.
Converter strictConverter(const std::string& charset) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(charset.c_str(), &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

std::optional<std::u16string> toUtf16(std::string_view bytes, const std::string& charset) {
    const auto converter = strictConverter(charset);
    if (!converter || bytes.size() > std::numeric_limits<int32_t>::max() / 2) {
        return std::nullopt;
    }
    // No legacy encoding takes fewer bytes than UTF-16 units per character.
    std::u16string units(bytes.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter.get(), units.data(), static_cast<int32_t>(units.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    units.resize(static_cast<std::size_t>(length));
    return units;
}

std::optional<std::string> fromUtf16(const std::u16string& units, const std::string& charset) {
    const auto converter = strictConverter(charset);
    if (!converter) {
        return std::nullopt;
    }
    std::string bytes(
        units.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(converter.get())) + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                        units.data(), static_cast<int32_t>(units.size()), &status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

std::optional<std::string> utf16ToUtf8(const std::u16string& units) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strToUTF8(nullptr, 0, &length, units.data(), static_cast<int32_t>(units.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
        return std::nullopt;
    }
    std::string utf8(static_cast<std::size_t>(length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), length, nullptr, units.data(), static_cast<int32_t>(units.size()),
                &status);
    return U_SUCCESS(status) ? std::optional<std::string>(std::move(utf8)) : std::nullopt;
}

std::optional<std::u16string> utf8ToUtf16(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
        return std::nullopt;
    }
    std::u16string units(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8(units.data(), length, nullptr, utf8.data(), static_cast<int32_t>(utf8.size()),
                  &status);
    return U_SUCCESS(status) ? std::optional<std::u16string>(std::move(units)) : std::nullopt;
}

// The multi-byte encodings worth trying, most likely first: those the detector sees at all, in
// its order, then GB18030 (a superset of GBK, the most common in older projects), which the
// detector rarely names when only a few comments are Chinese.
std::vector<std::string> multiByteCandidates(std::string_view bytes) {
    std::vector<std::string> candidates;
    UErrorCode status = U_ZERO_ERROR;
    UCharsetDetector* detector = ucsdet_open(&status);
    ucsdet_setText(detector, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    int32_t found = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector, &found, &status);
    for (int32_t i = 0; U_SUCCESS(status) && i < found; ++i) {
        const std::string name = ucsdet_getName(matches[i], &status);
        if (std::find(multiByteCharsets.begin(), multiByteCharsets.end(), name) !=
                multiByteCharsets.end() &&
            (name != "Shift_JIS" ||
             ucsdet_getConfidence(matches[i], &status) >= shiftJisConfidence)) {
            candidates.push_back(name);
        }
    }
    ucsdet_close(detector);
    candidates.emplace_back("GB18030");
    return candidates;
}

// A backslash right after a byte that could lead a double-byte character: read one byte at a
// time it would escape a quote or continue a comment that the real character does not.
bool backslashMayBeTrailByte(std::string_view bytes) {
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        if (bytes[i] == '\\' && static_cast<unsigned char>(bytes[i - 1]) >= 0x81) {
            return true;
        }
    }
    return false;
}

std::optional<LegacyText> decodeAs(std::string_view bytes, const std::string& charset) {
    const auto units = toUtf16(bytes, charset);
    if (!units) {
        return std::nullopt;
    }
    const auto back = fromUtf16(*units, charset);
    auto utf8 = utf16ToUtf8(*units);
    if (!back || *back != bytes || !utf8) {
        return std::nullopt;
    }
    return LegacyText{std::move(*utf8), charset};
}

} // namespace

std::optional<LegacyText> decodeLegacy(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max() / 4)) {
        return std::nullopt;
    }
    // Read as a multi-byte encoding where one fits: should it really be an 8-bit one, the
    // characters joined by mistake sit in comments and strings, and every byte still comes
    // back as it was.
    for (const auto& charset : multiByteCandidates(bytes)) {
        if (auto read = decodeAs(bytes, charset)) {
            return read;
        }
    }
    // No multi-byte encoding fits, so every byte is a character of an 8-bit one.
    if (backslashMayBeTrailByte(bytes)) {
        return std::nullopt;
    }
    return decodeAs(bytes, byteTransparent);
}

std::optional<std::string> encodeLegacy(std::string_view utf8, const std::string& charset) {
    const auto units = utf8ToUtf16(utf8);
    return units ? fromUtf16(*units, charset) : std::nullopt;
}

} // namespace quillet::text
