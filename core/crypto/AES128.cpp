#include "crypto/AES128.h"

#include <memory>

#include <openssl/evp.h>

#include "text/Base64.h"
#include "text/Utf.h"

namespace quillet {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

std::optional<std::string> run(const std::string& key, const std::string& iv,
                               const std::string& input, bool encrypting) {
    if (key.size() != 16 || iv.size() != 16) {
        return std::nullopt;
    }
    CipherContext context(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    const auto* ivBytes = reinterpret_cast<const unsigned char*>(iv.data());
    if (!context || EVP_CipherInit_ex(context.get(), EVP_aes_128_cbc(), nullptr, keyBytes, ivBytes,
                                      encrypting ? 1 : 0) != 1) {
        return std::nullopt;
    }
    std::string output(input.size() + 16, '\0');
    int written = 0;
    int last = 0;
    auto* out = reinterpret_cast<unsigned char*>(output.data());
    if (EVP_CipherUpdate(context.get(), out, &written,
                         reinterpret_cast<const unsigned char*>(input.data()),
                         static_cast<int>(input.size())) != 1 ||
        EVP_CipherFinal_ex(context.get(), out + written, &last) != 1) {
        return std::nullopt; // bad padding, or a length that is not whole blocks
    }
    output.resize(static_cast<std::size_t>(written) + static_cast<std::size_t>(last));
    return output;
}

} // namespace

std::string AES128::encrypt() const {
    return text::base64Encode(run(aes128Key, aes128Iv, base, true).value_or(""));
}

std::optional<std::string> AES128::decrypt() const {
    const auto cipher = text::base64Decode(base);
    if (!cipher) {
        return std::nullopt;
    }
    auto plain = run(aes128Key, aes128Iv, *cipher, false);
    if (!plain || !text::isValidUtf8(*plain)) {
        return std::nullopt;
    }
    return plain;
}

} // namespace quillet
