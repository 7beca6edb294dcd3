#include "WordFile.h"

#include <fstream>
#include <sstream>

#include "engine/WordCountRule.h"

namespace quillet::cli {

namespace {

bool isWord(const std::string& word) {
    if (word.empty()) {
        return false;
    }
    for (const char c : word) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            return false;
        }
    }
    return true;
}

} // namespace

Result<std::string> readBankText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Error{"cannot read " + path};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string text = std::move(bytes).str();
    if (text.ends_with("\r\n")) {
        text.resize(text.size() - 2);
    } else if (text.ends_with("\n")) {
        text.pop_back();
    }
    return text;
}

Result<std::vector<std::string>> readWordFile(const std::string& path) {
    const auto read = readBankText(path);
    if (!read) {
        return read.error();
    }
    auto words = wordList(*read);
    for (const auto& word : words) {
        if (!isWord(word)) {
            // An empty or odd word would become a broken selector in the project's code.
            return Error{"the words file " + path +
                         " is not a word bank text: words of letters joined by \",\""};
        }
    }
    return words;
}

} // namespace quillet::cli
