#pragma once

#include <nlohmann/json.hpp>

namespace quillet::cli {

// Writes the one document of a --json command on standard output. Text that is not UTF-8 (a
// file name, a diff of a file in an older encoding) is written with U+FFFD in place of its bad
// bytes: JSON holds no other text.
void printJson(const nlohmann::json& document);

} // namespace quillet::cli
