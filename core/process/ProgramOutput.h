#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet {

// Runs a program found on the PATH with the given arguments (argv[0] is the program), without a
// shell, its input empty and its errors discarded. Its standard output when it exits with 0;
// nothing when it cannot be started or fails.
std::optional<std::string> outputOf(const std::vector<std::string>& argv);

} // namespace quillet
