#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "engine/RenameMode.h"
#include "precise/NameKinds.h"

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
    unrename,
    translate,
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
    // methods, rename: the stored kinds (precise runs) when not given; settings set: to store.
    std::optional<NameKinds> kinds;
    std::optional<std::string> reuseNames; // rename: an earlier run's names file
    // rename: the stored class prefix when not given; settings set: the prefix to store.
    std::optional<std::string> classPrefix;
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
    std::string namesFile;                 // unrename, translate: a run's names file
    std::vector<std::string> inputs;       // translate: the files; none for standard input
    bool json = false;                     // methods, rename, restore, bank show: one JSON document
    bool skipUnreadable = false;           // methods, rename: go ahead without what cannot be read
    std::string helpTopic;                 // help: the command asked about; empty for all of them
};

// Why a command line is not understood, and which command's usage would help.
struct UsageError {
    std::string message;
    std::string topic; // "rename", "bank"...; empty when no command is known
};

// The command line's arguments (without the program's name, and not empty), or why it is not
// understood. --help or -h after a command asks for that command's usage.
Result<Arguments, UsageError> parseArguments(const std::vector<std::string>& args);

// The command as typed: "methods", "bank set"...; empty for help.
std::string commandName(Command command);

} // namespace quillet::cli
