#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The wrapping of every request and answer of the word bank service:
// Base64(ASCII(Base64(AES-128-CBC(UTF-8 text)))).
std::string wrapEnvelope(std::string_view plainText);
// The plain text inside, or nothing when a layer is not strict Base64, the padding is wrong or
// the text is not UTF-8.
std::optional<std::string> unwrapEnvelope(std::string_view envelope);

} // namespace quillet
