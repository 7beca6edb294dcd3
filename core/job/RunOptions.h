#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/RenameMode.h"
#include "precise/NameKinds.h"
#include "precise/ProtectionSetup.h"

namespace quillet {

// What one run is asked to do.
struct RunOptions {
    std::string project;
    RenameMode mode = RenameMode::precise;
    std::vector<std::string> ignore; // prefixes of sub-paths to leave alone
    // The precise mode rewrites Pods/ and Carthage/ too (it reads them to protect what they use).
    bool includeVendored = false;
    std::string methodPrefix;
    // Put in front of every new class and protocol name.
    std::string classPrefix;
    // The kinds of names the precise mode renames (the literal mode renames methods only).
    NameKinds kinds;
    ProtectionSources protection; // the precise mode's SDK folders and selector lists
    std::string cacheFolder;      // where what was read of SDK folders is kept
    // The words new names are made of; nothing: random letters.
    std::optional<std::vector<std::string>> words;
    // Where the project is zipped before anything is written; nothing: no backup.
    std::optional<std::string> backupDirectory;
    // An earlier run's names file (QuilletNames.tsv or MethodReplaceList.txt): what it lists
    // gets the same new name again.
    std::optional<std::string> reuseNames;
    // Rewrite in memory and report what would change; nothing is backed up or written.
    bool dryRun = false;
    // Go ahead although files or folders below the project cannot be read: they are left as
    // they are, and the precise mode keeps the names a header declares when its source is one
    // of them. Without it such a run is refused before anything is written.
    bool skipUnreadable = false;

    // A run of `project` as the stored state sets it up: the settings' prefixes, protected
    // selectors, SDK folders, kinds of names (precise runs only), names file to reuse and backup
    // directory, the words of the default bank, the user's cache folder.
    static RunOptions stored(std::string project, RenameMode mode);
};

} // namespace quillet
