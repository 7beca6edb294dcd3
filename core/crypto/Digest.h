#pragma once

#include <string>
#include <string_view>

namespace quillet::crypto {

// HMAC-SHA256 of `data` under `key`, as 32 raw bytes.
std::string hmacSha256(std::string_view key, std::string_view data);
// Bytes as uppercase hexadecimal digits, two per byte.
std::string upperHex(std::string_view bytes);

} // namespace quillet::crypto
