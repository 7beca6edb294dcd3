#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet::text {

// Standard Base64 with "=" padding and no line breaks.
std::string base64Encode(std::string_view bytes);
// Strict: only the standard alphabet, length a multiple of four, padding only at the end, and no
// stray bits in the last character. Nothing for anything else.
std::optional<std::string> base64Decode(std::string_view text);

} // namespace quillet::text
