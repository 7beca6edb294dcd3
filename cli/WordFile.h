#pragma once

#include <string>
#include <vector>

#include "base/Result.h"

namespace quillet::cli {

// A bank text from a file, as the word bank stores it; one final line break is ignored.
Result<std::string> readBankText(const std::string& path);

// The words of a bank text file, which must be words of ASCII letters joined by ",".
Result<std::vector<std::string>> readWordFile(const std::string& path);

} // namespace quillet::cli
