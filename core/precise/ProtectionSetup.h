#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "base/Result.h"
#include "precise/ProtectionRules.h"

namespace quillet {

// What a precise run protects, gathered the same way by every front end.
struct ProtectionSources {
    std::vector<std::string> sdkFolders;         // given by the user, besides the platform's
    std::vector<std::string> protectFiles;       // selector lists, one selector a line
    std::vector<std::string> protectedSelectors; // from the settings
};

// One SDK folder as it was read.
struct SdkReport {
    std::string folder;
    std::size_t headers = 0;
    std::size_t selectors = 0;
    bool fromCache = false;
};

struct PreparedProtection {
    ProtectionInputs inputs;
    std::vector<SdkReport> sdks;
};

// The selectors the user protects: those of the settings and of every list. A list that cannot
// be read fails it, naming it.
Result<SelectorSet> protectedByUser(const ProtectionSources& sources);

// Reads the platform's SDK folders and the given ones (through the cache in `cacheFolder`) and
// the selector lists. A folder or list the user gave that cannot be read fails it, naming the
// first such one; a platform folder that cannot be read is left out.
Result<PreparedProtection> prepareProtection(const ProtectionSources& sources,
                                             const std::string& cacheFolder);

// The selectors of a list: one a line, blanks around them dropped, empty lines and lines
// starting with "#" skipped.
std::vector<std::string> selectorsOfList(std::string_view text);

} // namespace quillet
