#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "precise/SelectorSet.h"

namespace quillet {

// The selectors that the headers below an SDK folder declare: those with keywords, and the
// argument-less ones with the names and getters of their properties.
struct SdkSelectors {
    SelectorSet selectors;
    std::size_t withKeywords = 0; // what reports count, as before argument-less ones were kept
    std::size_t headers = 0;
    bool fromCache = false;
};

// Reads SDK folders. Parsing thousands of headers takes a moment, so each folder's selectors are
// kept in a file of the cache folder, used again as long as no header below the folder has been
// added, removed or changed (by path, size and modification time).
class SdkSelectorCache {
public:
    explicit SdkSelectorCache(std::string cacheFolder) : cacheFolder_(std::move(cacheFolder)) {}

    // Every ".h" below `sdkFolder` (symbolic links are not followed), parsed with the project's
    // own lexer. Nothing when the folder cannot be listed.
    std::optional<SdkSelectors> load(const std::string& sdkFolder) const;

    // The cache file of an SDK folder.
    std::string cacheFileOf(const std::string& sdkFolder) const;

private:
    std::string cacheFolder_;
};

} // namespace quillet
