#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet::text {

// Text read from an older 8-bit or multi-byte encoding (MacRoman, Latin-1, GBK/GB18030,
// Shift_JIS, Big5, ...).
struct LegacyText {
    std::string utf8;
    std::string charset; // the converter that reads and writes it back, byte for byte
};

// The bytes as UTF-8, read in the first multi-byte encoding (those ICU's detector sees, then
// GB18030) they convert to and back unchanged, else as 8-bit text: every byte one character,
// which comes back as it was whichever 8-bit encoding it is. Nothing when no multi-byte encoding
// fits yet a backslash follows a byte that could lead a double-byte character: read one byte
// at a time, that backslash could change what is code.
std::optional<LegacyText> decodeLegacy(std::string_view bytes);

// `utf8` in `charset`; nothing when a character cannot be written in it.
std::optional<std::string> encodeLegacy(std::string_view utf8, const std::string& charset);

} // namespace quillet::text
