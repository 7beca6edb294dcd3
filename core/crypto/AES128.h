#pragma once

#include <optional>
#include <string>

namespace quillet {

// The cipher of the service envelope: AES-128-CBC with PKCS#7 padding under a fixed key and IV.
struct AES128 {
    std::string aes128Key = "pQmTzrLwoeVbNsaJ";
    std::string aes128Iv = "HdYuxkRgcEiwTnaZ";
    std::string base; // plain text to encipher, or Base64 ciphertext to decipher

    // The ciphertext of `base` as standard Base64.
    std::string encrypt() const;
    // The plain text of the Base64 ciphertext in `base`; nothing when it is not strict Base64,
    // its padding is wrong, or the plain bytes are not UTF-8.
    std::optional<std::string> decrypt() const;
};

} // namespace quillet
