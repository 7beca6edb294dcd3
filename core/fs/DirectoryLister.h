#pragma once

#include <string>
#include <vector>

#include "base/Result.h"

namespace quillet::fs {

struct Listing {
    // Every file and folder below the root, relative to it: depth first, a folder before its
    // contents, each folder's entries sorted by name byte for byte.
    std::vector<std::string> subpaths;
    // Folders below the root whose contents could not be listed (relative paths).
    std::vector<std::string> unlistedFolders;
};

// Lists a folder recursively without following symbolic links: a link is listed as an entry but
// never entered, so nothing outside the folder is reached. Fails only when the root itself cannot
// be listed.
Result<Listing> listRecursively(const std::string& root);

} // namespace quillet::fs
