#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet::fs {

// The hidden name a temporary file for `name` takes while this process writes it:
// ".<name>.quillet-<process id>-<tag>".
std::string temporaryNameOf(std::string_view name, std::string_view tag);

// Whether a file name is such a temporary name of a process that no longer runs: what a killed
// write left behind. A name of a running process, or of none of ours, is not.
bool isStaleTemporary(std::string_view fileName);

// Removes the stale temporary files among `relativePaths` below `root` (regular files only);
// returns the paths removed.
std::vector<std::string> removeStaleTemporaries(const std::string& root,
                                                const std::vector<std::string>& relativePaths);

} // namespace quillet::fs
