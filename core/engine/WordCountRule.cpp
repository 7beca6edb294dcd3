#include "engine/WordCountRule.h"

#include "text/Text.h"

namespace quillet {

std::size_t selectorPieceCount(const std::vector<MethodModel>& methods) {
    std::size_t pieces = 0;
    for (const auto& method : methods) {
        pieces += method.elements.size();
    }
    return pieces;
}

std::size_t wordsNeeded(std::size_t pieces) {
    return static_cast<std::size_t>(static_cast<float>(pieces) * 1.5f);
}

std::vector<std::string> wordList(std::string_view bankText) {
    return text::split(bankText, ',');
}

std::string notEnoughWordsMessage(std::size_t have, std::size_t need) {
    return "单词数量不足：单词数量为" + std::to_string(have) + "个, 当前需要" +
           std::to_string(need);
}

} // namespace quillet
