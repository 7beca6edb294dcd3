#pragma once

#include <string>

namespace quillet {

// Where Quillet keeps what it can compute again: "$XDG_CACHE_HOME/Quillet", else
// "~/.cache/Quillet"; on macOS "~/Library/Caches/Quillet". Not created here.
std::string cacheFolder();

} // namespace quillet
