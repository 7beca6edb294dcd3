#include "support/Words.h"

namespace quillet::test {

std::string bankText(std::size_t count, char salt) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        std::string word = std::string(1, salt) + "ordxxxx";
        for (std::size_t n = i, k = 4; k < 8; ++k, n /= 26) {
            word[k] = static_cast<char>('a' + n % 26);
        }
        text += (i == 0 ? "" : ",") + word;
    }
    return text;
}

} // namespace quillet::test
