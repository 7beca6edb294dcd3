#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet::cli {

struct BankTextRead {
    std::optional<std::string> text;
    std::string error;
};

// A bank text from a file, as the word bank stores it; one final line break is ignored.
BankTextRead readBankText(const std::string& path);

struct WordFileRead {
    std::optional<std::vector<std::string>> words;
    std::string error;
};

// The words of a bank text file, which must be words of ASCII letters joined by ",".
WordFileRead readWordFile(const std::string& path);

} // namespace quillet::cli
