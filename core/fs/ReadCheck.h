#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "fs/DirectoryLister.h"

namespace quillet::fs {

// A file or folder that cannot be read, and why.
struct UnreadableEntry {
    std::string path; // full; a folder's ends in "/"
    std::string problem;
};

// Told how many of the listed entries have been checked, of how many.
using CheckProgress = std::function<void(std::size_t done, std::size_t total)>;

// Every folder of the listing below `root` that could not be listed and every regular file in it
// that cannot be read to its end (permissions, I/O errors), in listing order. Links are not
// followed and other kinds of entry hold nothing to read. Reading every byte once costs little
// beside the backup that reads them again, and is the only way to find an I/O error before a
// run has written anything.
std::vector<UnreadableEntry> unreadableEntries(const std::string& root, const Listing& listing,
                                               const CheckProgress& progress = {});

} // namespace quillet::fs
