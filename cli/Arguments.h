#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "engine/RenameMode.h"

namespace quillet::cli {

enum class Command {
    methods,
    rename,
    bankShow,
    bankVerify,
    bankSet,
    bankNew,
    settingsShow,
    settingsSet,
    restore,
    help
};

struct Arguments {
    Command command = Command::help;
    std::string project;
    std::vector<std::string> ignore;
    // rename: no --random and no --words means the default word bank.
    bool random = false;
    std::optional<std::string> wordsFile;
    // rename: the stored prefix when not given; settings set: the prefix to store.
    std::optional<std::string> prefix;
    bool backup = true;
    bool quiet = false;
    bool verbose = false;
    RenameMode mode = RenameMode::precise; // methods, rename
    std::vector<std::string> sdkFolders;   // methods, rename, settings set: --sdk
    std::vector<std::string> protectFiles; // methods, rename, settings set: --protect
    bool noSdk = false;                    // settings set: forget the stored SDK folders
    bool includeVendored = false;          // rename: rewrite Pods/ and Carthage/ too
    bool dryRun = false;                   // rename: print the changes, write nothing
    bool force = false;                    // bank new: replace a bank that has words
    std::string bankFile;                  // bank verify, bank set
    std::optional<std::string> remark;     // bank set, bank new
    std::optional<std::string> backupDir;  // settings set
    std::string archive;                   // restore (the project is optional there)
    bool clean = false;                    // restore: remove what was added since the backup
};

// The command line's arguments, or why it is not understood.
Result<Arguments> parseArguments(const std::vector<std::string>& args);
std::string usageText();

} // namespace quillet::cli
