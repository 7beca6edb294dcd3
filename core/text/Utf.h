#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet::text {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

enum class ByteOrder { littleEndian, bigEndian };

// UTF-16 bytes (without their byte order mark) as UTF-8; nothing when the units are not
// well-formed UTF-16 (odd length, unpaired surrogate).
std::optional<std::string> utf16ToUtf8(std::string_view bytes, ByteOrder order);

// Well-formed UTF-8 as UTF-16 bytes in the given order, without a byte order mark.
std::string utf8ToUtf16(std::string_view utf8, ByteOrder order);

} // namespace quillet::text
