#include "Arguments.h"

#include <functional>
#include <map>

#include "engine/MethodPrefix.h"
#include "text/Utf.h"

namespace quillet::cli {

namespace {

// One rule for a prefix given to a run and one stored for later runs.
Status methodPrefix(Arguments& a, const std::string& value) {
    a.prefix = value;
    if (!isValidMethodPrefix(value)) {
        return Error{"--prefix: " + std::string(methodPrefixRule)};
    }
    return Status::success();
}

// Stored texts are UTF-8; anything else is refused before it reaches the settings.
Status utf8Text(const std::string& option, const std::string& value) {
    if (!text::isValidUtf8(value)) {
        return Error{option + " must be UTF-8 text"};
    }
    return Status::success();
}

// The options one command takes: a flag sets something, an option with a value stores it.
struct Options {
    std::map<std::string, std::function<void(Arguments&)>> flags;
    std::map<std::string, std::function<Status(Arguments&, const std::string&)>> values;
    // The one plain argument a command takes, if any, and its name in messages.
    std::string Arguments::*positional = nullptr;
    std::string positionalName;
    // A second plain argument some command takes, which may be left out.
    std::string Arguments::*optionalPositional = nullptr;
};

Options optionsFor(Command command) {
    Options options;
    options.positionalName =
        command == Command::methods || command == Command::rename ? "PROJECT" : "FILE";
    const auto ignore = [](Arguments& a, const std::string& v) -> Status {
        a.ignore.push_back(v);
        return Status::success();
    };
    const auto remark = [](Arguments& a, const std::string& v) -> Status {
        a.remark = v;
        return utf8Text("--remark", v);
    };
    const auto sdk = [](Arguments& a, const std::string& v) -> Status {
        a.sdkFolders.push_back(v);
        return Status::success();
    };
    const auto protect = [](Arguments& a, const std::string& v) -> Status {
        a.protectFiles.push_back(v);
        return Status::success();
    };
    const auto mode = [](Arguments& a, const std::string& v) -> Status {
        if (v != "precise" && v != "literal") {
            return Error{"--mode must be precise or literal"};
        }
        a.mode = v == "precise" ? RenameMode::precise : RenameMode::literal;
        return Status::success();
    };
    switch (command) {
    case Command::methods:
        options.values["--ignore"] = ignore;
        options.values["--mode"] = mode;
        options.values["--sdk"] = sdk;
        options.values["--protect"] = protect;
        options.flags["--include-vendored"] = [](Arguments& a) { a.includeVendored = true; };
        options.positional = &Arguments::project;
        break;
    case Command::rename:
        options.values["--ignore"] = ignore;
        options.values["--mode"] = mode;
        options.values["--sdk"] = sdk;
        options.values["--protect"] = protect;
        options.flags["--dry-run"] = [](Arguments& a) { a.dryRun = true; };
        options.flags["--include-vendored"] = [](Arguments& a) { a.includeVendored = true; };
        options.values["--words"] = [](Arguments& a, const std::string& v) -> Status {
            a.wordsFile = v;
            return Status::success();
        };
        options.values["--prefix"] = methodPrefix;
        options.flags["--random"] = [](Arguments& a) { a.random = true; };
        options.flags["--no-backup"] = [](Arguments& a) { a.backup = false; };
        options.flags["--quiet"] = [](Arguments& a) { a.quiet = true; };
        options.flags["--verbose"] = [](Arguments& a) { a.verbose = true; };
        options.positional = &Arguments::project;
        break;
    case Command::bankVerify:
        options.positional = &Arguments::bankFile;
        break;
    case Command::bankSet:
        options.values["--remark"] = remark;
        options.positional = &Arguments::bankFile;
        break;
    case Command::bankNew:
        options.values["--remark"] = remark;
        options.flags["--force"] = [](Arguments& a) { a.force = true; };
        break;
    case Command::settingsSet:
        options.values["--backup-dir"] = [](Arguments& a, const std::string& v) -> Status {
            a.backupDir = v;
            return Status::success();
        };
        options.values["--prefix"] = methodPrefix;
        // Stored as well, where a folder name that is not UTF-8 cannot be written.
        options.values["--sdk"] = [](Arguments& a, const std::string& v) -> Status {
            a.sdkFolders.push_back(v);
            return utf8Text("--sdk", v);
        };
        options.values["--protect"] = protect;
        options.flags["--no-sdk"] = [](Arguments& a) { a.noSdk = true; };
        break;
    case Command::restore:
        options.flags["--clean"] = [](Arguments& a) { a.clean = true; };
        options.positional = &Arguments::archive;
        options.positionalName = "ARCHIVE";
        options.optionalPositional = &Arguments::project;
        break;
    case Command::bankShow:
    case Command::settingsShow:
    case Command::help:
        break;
    }
    return options;
}

// "methods", "rename", "bank show", ...: the command and how many words it took.
std::optional<std::pair<Command, std::size_t>> commandOf(const std::vector<std::string>& args) {
    static const std::map<std::string, Command> single = {
        {"methods", Command::methods}, {"rename", Command::rename}, {"restore", Command::restore}};
    static const std::map<std::string, Command> bank = {{"show", Command::bankShow},
                                                        {"verify", Command::bankVerify},
                                                        {"set", Command::bankSet},
                                                        {"new", Command::bankNew}};
    static const std::map<std::string, Command> settings = {{"show", Command::settingsShow},
                                                            {"set", Command::settingsSet}};
    if (const auto it = single.find(args[0]); it != single.end()) {
        return std::pair{it->second, std::size_t{1}};
    }
    const auto* group = args[0] == "bank" ? &bank : args[0] == "settings" ? &settings : nullptr;
    if (group != nullptr && args.size() > 1) {
        if (const auto it = group->find(args[1]); it != group->end()) {
            return std::pair{it->second, std::size_t{2}};
        }
    }
    return std::nullopt;
}

} // namespace

std::string usageText() {
    return "usage:\n"
           "  quillet-cli --version\n"
           "  quillet-cli methods PROJECT [--mode precise|literal] [--sdk DIR]...\n"
           "                      [--protect FILE]... [--ignore PREFIX]... [--include-vendored]\n"
           "      List the methods a rename would change: selector, a tab, declaring header;\n"
           "      in the precise mode a third column says rename or why it is protected.\n"
           "  quillet-cli rename PROJECT [--random | --words FILE] [--prefix P] [--no-backup]\n"
           "                     [--mode precise|literal] [--sdk DIR]... [--protect FILE]...\n"
           "                     [--ignore PREFIX]... [--include-vendored] [--dry-run] [--quiet]\n"
           "                     [--verbose]\n"
           "      Back the project up, rename its methods in place and write\n"
           "      MethodReplaceList.txt beside its sources. New names come from the default\n"
           "      word bank unless --random or --words is given.\n"
           "  quillet-cli restore ARCHIVE [PROJECT] [--clean]\n"
           "      Put the project back as the backup ARCHIVE holds it (into the folder it was\n"
           "      made of, unless PROJECT is given). Files added since are listed and kept,\n"
           "      or removed with --clean.\n"
           "  quillet-cli bank show\n"
           "  quillet-cli bank verify FILE\n"
           "  quillet-cli bank set FILE [--remark R]\n"
           "  quillet-cli bank new [--remark R] [--force]\n"
           "      Show the default word bank; check a bank text; make FILE's words the default\n"
           "      bank's words; start a new default bank with a new token and no words\n"
           "      (--force: even when the default bank has words, which are then lost).\n"
           "  quillet-cli settings show\n"
           "  quillet-cli settings set [--backup-dir D] [--prefix P] [--sdk DIR]... [--no-sdk]\n"
           "                           [--protect FILE]\n"
           "\n"
           "  --mode precise   (the default) read the sources as Objective-C: rename every\n"
           "                   exact use of a selector, and never one the SDK, the runtime or\n"
           "                   code outside the project owns\n"
           "  --mode literal   rewrite by the text rules, in the files that import the header\n"
           "  --sdk DIR        also protect the selectors declared by the headers below DIR\n"
           "                   (the platform's SDKs are read on their own: xcrun's on macOS,\n"
           "                   GNUstep's elsewhere); with settings set, store the folders\n"
           "  --protect FILE   never rename the selectors in FILE, one a line; with settings\n"
           "                   set, store them\n"
           "  --dry-run        write nothing; print the changes as a unified diff\n"
           "  --ignore PREFIX  skip sub-paths of PROJECT that start with PREFIX (the precise\n"
           "                   mode still reads them, to protect what they use)\n"
           "  --include-vendored  in the precise mode, rename in Pods/ and Carthage/ too (by\n"
           "                   default they are only read, to protect what they use)\n"
           "  --random         make new names of random letters\n"
           "  --words FILE     draw new names from FILE, a bank text: words joined by \",\"\n"
           "  --prefix P       put P in front of every new method name (default: the setting)\n"
           "  --no-backup      do not zip the project into the backup directory first;\n"
           "                   without this, a backup that fails stops the run\n"
           "  --quiet          no progress and no summary\n"
           "  --verbose        also print the run log on standard output\n"
           "\n"
           "exit status: 0 done, 1 the run could not start or the change was refused,\n"
           "             2 usage error, 3 done but some files could not be written or read\n"
           "             (see the summary and the log)\n";
}

Result<Arguments> parseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        return parsed;
    }
    const auto command = commandOf(args);
    if (!command) {
        return Error{"unknown command: " + args[0] + (args.size() > 1 ? " " + args[1] : "")};
    }
    parsed.command = command->first;
    const Options options = optionsFor(parsed.command);
    bool positionalSeen = false;
    bool optionalSeen = false;
    for (std::size_t i = command->second; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = options.flags.find(arg); flag != options.flags.end()) {
            flag->second(parsed);
        } else if (const auto value = options.values.find(arg); value != options.values.end()) {
            if (i + 1 >= args.size()) {
                return Error{arg + " needs a value"};
            }
            if (auto taken = value->second(parsed, args[++i]); !taken) {
                return taken.error();
            }
        } else if (!arg.starts_with("--") && positionalSeen &&
                   options.optionalPositional != nullptr && !optionalSeen) {
            parsed.*options.optionalPositional = arg;
            optionalSeen = true;
        } else if (arg.starts_with("--") || options.positional == nullptr || positionalSeen) {
            return Error{"unexpected argument: " + arg};
        } else {
            parsed.*options.positional = arg;
            positionalSeen = true;
        }
    }
    if (options.positional != nullptr && !positionalSeen) {
        return Error{"missing " + options.positionalName};
    }
    if (parsed.random && parsed.wordsFile) {
        return Error{"choose one of --random and --words FILE"};
    }
    if (parsed.command == Command::settingsSet && !parsed.backupDir && !parsed.prefix &&
        parsed.sdkFolders.empty() && parsed.protectFiles.empty() && !parsed.noSdk) {
        return Error{"settings set needs --backup-dir, --prefix, --sdk, --no-sdk or --protect"};
    }
    if (parsed.noSdk && !parsed.sdkFolders.empty()) {
        return Error{"choose one of --sdk DIR and --no-sdk"};
    }
    if (parsed.command == Command::settingsSet && parsed.protectFiles.size() > 1) {
        return Error{"settings set takes one --protect FILE"};
    }
    return parsed;
}

} // namespace quillet::cli
