#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace quillet {

// What putting a project back from its backup did.
struct RestoreReport {
    std::size_t restored = 0;  // files, links and folders put back as the archive holds them
    std::size_t unchanged = 0; // already as the archive holds them
    // Below the project but not in the archive (made since the backup, such as the name list):
    // kept, or removed when asked to clean.
    std::vector<std::string> added;
    bool addedRemoved = false;
    // Files a rename gave a new name (as its name table says), removed whether or not asked to
    // clean: the archive gives each back under its old name, and both would define one class.
    std::vector<std::string> renamedBack;
    std::vector<std::string> failed; // each with the reason it could not be put back
};

// The folder a backup was made of, as its comment says; fails for an archive that cannot be
// opened or has no such comment.
Result<std::string> backedUpFolder(const std::string& archive);

// Puts `project` back exactly as `archive` (a backup of it) holds it: files that changed since
// are replaced atomically, missing ones made again, links and permission bits as archived.
// Everything below the project that the archive does not hold is listed, and removed only when
// `clean`; but a file the last rename moved to a new name goes when the archive holds its old one.
// Holds the project's lock while it works; an archive entry that would land outside the project
// refuses the whole restore before anything is written. Fails, having changed nothing, when the
// restore cannot start; what could not be put back once it started is in the report.
// `progress` hears how many of the archive's entries are done, of how many, after each one.
using RestoreProgress = std::function<void(std::size_t done, std::size_t total)>;
Result<RestoreReport> restoreBackup(const std::string& archive, const std::string& project,
                                    bool clean, const RestoreProgress& progress = {});

} // namespace quillet
