#pragma once

#include <filesystem>
#include <string>

namespace quillet::bench {

// The whole content of a file; empty when it cannot be read.
std::string contentOf(const std::filesystem::path& path);

// The first relative path whose content differs between two trees, or "" when they are equal.
std::string firstDifference(const std::filesystem::path& a, const std::filesystem::path& b);

// Total bytes of the .h/.m/.mm files below a folder.
std::uintmax_t sourceBytes(const std::filesystem::path& root);

} // namespace quillet::bench
