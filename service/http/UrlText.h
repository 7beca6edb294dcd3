#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet::service {

// Percent-decoding, for paths and for form bodies (where "+" is a space). Nothing when a "%"
// is not followed by two hexadecimal digits.
std::optional<std::string> percentDecoded(std::string_view text, bool plusIsSpace);

// The decoded value of the first field `name` of an application/x-www-form-urlencoded body;
// nothing when there is no such field or it does not decode.
std::optional<std::string> formField(std::string_view body, std::string_view name);

// The path and query of a request target in origin form ("/a?b") or absolute form
// ("http://host/a?b", which a client talking to a proxy sends); nothing for any other form, or
// for a target with spaces, controls or bytes past ASCII.
std::optional<std::string_view> originPart(std::string_view target);

} // namespace quillet::service
