#include "engine/NameGenerator.h"

namespace quillet {

namespace {

// Redraws allowed before falling back to an exact choice among the unused positions. The
// fallback has the same distribution (uniform over unused positions) and always ends.
constexpr int redrawsBeforeScan = 64;

} // namespace

std::optional<std::string> NameGenerator::pickWord(const std::vector<std::string>& words) {
    if (words.empty()) {
        return std::nullopt;
    }
    const auto count = static_cast<std::uint32_t>(words.size());
    for (int attempt = 0; attempt < redrawsBeforeScan; ++attempt) {
        const std::string& word = words[random_.uniform(count)];
        if (isUnused(word)) {
            return take(word);
        }
    }
    const auto position = pickAmongUnused(words);
    if (!position) {
        return std::nullopt;
    }
    return take(words[*position]);
}

// An empty word (an empty bank's text is one) would leave a bare ":" in the code.
bool NameGenerator::isUnused(const std::string& word) const {
    return !word.empty() && !excluded_.contains(word);
}

std::optional<std::size_t> NameGenerator::pickAmongUnused(const std::vector<std::string>& words) {
    std::vector<std::size_t> unused;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (isUnused(words[i])) {
            unused.push_back(i);
        }
    }
    if (unused.empty()) {
        return std::nullopt;
    }
    return unused[random_.uniform(static_cast<std::uint32_t>(unused.size()))];
}

std::string NameGenerator::take(const std::string& word) {
    exclude_.push_back(word);
    excluded_.insert(word);
    return word;
}

std::string NameGenerator::randomString(std::size_t length, bool lettersOnly) {
    std::string result;
    result.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        char candidates[3];
        candidates[0] = static_cast<char>('a' + random_.uniform(26));
        candidates[1] = static_cast<char>('A' + random_.uniform(26));
        std::uint32_t choices = 2;
        if (!lettersOnly) {
            candidates[2] = static_cast<char>('0' + random_.uniform(10));
            choices = 3;
        }
        result += candidates[random_.uniform(choices)];
    }
    return result;
}

std::size_t NameGenerator::randomPieceLength() {
    return 8 + random_.uniform(9);
}

} // namespace quillet
