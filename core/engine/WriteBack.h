#pragma once

#include <string>
#include <string_view>

namespace quillet {

// Writes a file atomically as UTF-8; on failure logs the reason under `function` and returns
// false, leaving the earlier file as it was.
bool writeLogged(std::string_view content, const std::string& path, std::string_view function);

} // namespace quillet
