#pragma once

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "random/RandomSource.h"

namespace quillet {

// Draws the words and random strings that new selector pieces are made of. Within one run no
// word is handed out twice.
class NameGenerator {
public:
    explicit NameGenerator(RandomSource& random) : random_(random) {}

    // A non-empty word of the list not handed out before; nothing once every distinct word has
    // been.
    std::optional<std::string> pickWord(const std::vector<std::string>& words);
    // `length` characters, each a lowercase or uppercase letter (or, unless lettersOnly, a digit)
    // with equal chance.
    std::string randomString(std::size_t length, bool lettersOnly);
    // A length between 8 and 16, inclusive, for a random piece.
    std::size_t randomPieceLength();

    const std::vector<std::string>& exclude() const { return exclude_; }

private:
    bool isUnused(const std::string& word) const;
    std::optional<std::size_t> pickAmongUnused(const std::vector<std::string>& words);
    std::string take(const std::string& word);

    RandomSource& random_;
    std::vector<std::string> exclude_;
    std::unordered_set<std::string> excluded_;
};

} // namespace quillet
