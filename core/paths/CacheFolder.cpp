#include "paths/CacheFolder.h"

#include <cstdlib>

#include "paths/HomeFolder.h"

namespace quillet {

std::string cacheFolder() {
#ifdef __APPLE__
    return homeFolder() + "/Library/Caches/Quillet";
#else
    const char* cache = std::getenv("XDG_CACHE_HOME");
    // Relative values are to be ignored, as if unset.
    if (cache != nullptr && cache[0] == '/') {
        return std::string(cache) + "/Quillet";
    }
    return homeFolder() + "/.cache/Quillet";
#endif
}

} // namespace quillet
