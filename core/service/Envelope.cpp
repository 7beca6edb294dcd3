#include "service/Envelope.h"

#include "crypto/AES128.h"
#include "text/Base64.h"

namespace quillet {

std::string wrapEnvelope(std::string_view plainText) {
    AES128 cipher;
    cipher.base = std::string(plainText);
    return text::base64Encode(cipher.encrypt());
}

std::optional<std::string> unwrapEnvelope(std::string_view envelope) {
    // The inner Base64 is ASCII, and strict decoding of the outer layer rejects anything else.
    auto inner = text::base64Decode(envelope);
    if (!inner) {
        return std::nullopt;
    }
    AES128 cipher;
    cipher.base = std::move(*inner);
    return cipher.decrypt();
}

} // namespace quillet
