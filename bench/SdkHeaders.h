#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace quillet::bench {

// Writes `count` framework headers shaped like a platform SDK's (license comments, macros,
// enums, interfaces with properties and attributed method declarations, protocols, categories)
// into frameworks of about forty headers below `root`. Returns the bytes written.
std::uintmax_t writeSdkHeaders(const std::filesystem::path& root, std::size_t count,
                               std::uint64_t seed);

} // namespace quillet::bench
