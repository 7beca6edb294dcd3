#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet::cli {

struct WordFileRead {
    std::optional<std::vector<std::string>> words;
    std::string error;
};

// Reads a word bank text: words of ASCII letters joined by ","; one final line break is ignored.
WordFileRead readWordFile(const std::string& path);

} // namespace quillet::cli
