#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MethodModel.h"

namespace quillet {

// The selector pieces of all methods: each piece takes one word.
std::size_t selectorPieceCount(const std::vector<MethodModel>& methods);
// Words a run needs for that many pieces: half as many again, in single precision, truncated.
std::size_t wordsNeeded(std::size_t pieces);
// A bank text as the word list of a run: split at every ",", empty pieces kept.
std::vector<std::string> wordList(std::string_view bankText);
// The message shown when a run has too few words.
std::string notEnoughWordsMessage(std::size_t have, std::size_t need);

} // namespace quillet
