#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/MethodModel.h"

namespace quillet {

// A folder of the project that looks like a library someone else maintains, and how many of the
// methods a run renames are declared there.
struct VendoredFolder {
    std::string folder; // relative to the project, ending in "/"
    std::size_t methods = 0;
};

// The folders below the project (never the project itself) that hold their own podspec, a
// licence and tests, among `subpaths` (every entry, relative to the project, a folder before
// its contents), less those under one of the `leftAlone` prefixes; with the number of `renamed`
// methods whose header is one of their files.
std::vector<VendoredFolder> vendoredFolders(const std::vector<std::string>& subpaths,
                                            const std::vector<std::string>& leftAlone,
                                            const std::vector<MethodModel>& renamed);

} // namespace quillet
