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

Status classPrefix(Arguments& a, const std::string& value) {
    a.classPrefix = value;
    if (!isValidClassPrefix(value)) {
        return Error{"--class-prefix: " + std::string(classPrefixRule)};
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
    // Where the plain arguments after the first go, for a command that takes any number.
    std::vector<std::string> Arguments::*morePositionals = nullptr;
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
    const auto kinds = [](Arguments& a, const std::string& v) -> Status {
        auto parsed = NameKinds::parse(v);
        if (!parsed) {
            return Error{"--kinds: " + parsed.error().message};
        }
        a.kinds = *parsed;
        return Status::success();
    };
    switch (command) {
    case Command::methods:
        options.values["--ignore"] = ignore;
        options.values["--mode"] = mode;
        options.values["--kinds"] = kinds;
        options.values["--sdk"] = sdk;
        options.values["--protect"] = protect;
        options.flags["--include-vendored"] = [](Arguments& a) { a.includeVendored = true; };
        options.flags["--skip-unreadable"] = [](Arguments& a) { a.skipUnreadable = true; };
        options.positional = &Arguments::project;
        break;
    case Command::rename:
        options.values["--ignore"] = ignore;
        options.values["--mode"] = mode;
        options.values["--kinds"] = kinds;
        options.values["--sdk"] = sdk;
        options.values["--protect"] = protect;
        options.flags["--dry-run"] = [](Arguments& a) { a.dryRun = true; };
        options.flags["--include-vendored"] = [](Arguments& a) { a.includeVendored = true; };
        options.values["--words"] = [](Arguments& a, const std::string& v) -> Status {
            a.wordsFile = v;
            return Status::success();
        };
        options.values["--prefix"] = methodPrefix;
        options.values["--class-prefix"] = classPrefix;
        options.values["--reuse"] = [](Arguments& a, const std::string& v) -> Status {
            a.reuseNames = v;
            return Status::success();
        };
        options.flags["--random"] = [](Arguments& a) { a.random = true; };
        options.flags["--no-backup"] = [](Arguments& a) { a.backup = false; };
        options.flags["--quiet"] = [](Arguments& a) { a.quiet = true; };
        options.flags["--verbose"] = [](Arguments& a) { a.verbose = true; };
        options.flags["--skip-unreadable"] = [](Arguments& a) { a.skipUnreadable = true; };
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
        options.values["--class-prefix"] = classPrefix;
        options.values["--kinds"] = kinds;
        // Stored as well, where a folder name that is not UTF-8 cannot be written.
        options.values["--sdk"] = [](Arguments& a, const std::string& v) -> Status {
            a.sdkFolders.push_back(v);
            return utf8Text("--sdk", v);
        };
        options.values["--protect"] = protect;
        options.flags["--no-sdk"] = [](Arguments& a) { a.noSdk = true; };
        break;
    case Command::unrename:
        options.flags["--dry-run"] = [](Arguments& a) { a.dryRun = true; };
        options.flags["--no-backup"] = [](Arguments& a) { a.backup = false; };
        options.flags["--quiet"] = [](Arguments& a) { a.quiet = true; };
        options.positional = &Arguments::namesFile;
        options.positionalName = "NAMES";
        options.optionalPositional = &Arguments::project;
        break;
    case Command::restore:
        options.flags["--clean"] = [](Arguments& a) { a.clean = true; };
        options.positional = &Arguments::archive;
        options.positionalName = "ARCHIVE";
        options.optionalPositional = &Arguments::project;
        break;
    case Command::translate:
        options.positional = &Arguments::namesFile;
        options.positionalName = "NAMES";
        options.morePositionals = &Arguments::inputs;
        break;
    case Command::bankShow:
    case Command::settingsShow:
    case Command::help:
        break;
    }
    if (command == Command::methods || command == Command::rename || command == Command::restore ||
        command == Command::bankShow || command == Command::unrename) {
        options.flags["--json"] = [](Arguments& a) { a.json = true; };
    }
    return options;
}

const std::vector<std::pair<std::string_view, Command>>& commandNames() {
    static const std::vector<std::pair<std::string_view, Command>> names = {
        {"methods", Command::methods},          {"rename", Command::rename},
        {"restore", Command::restore},          {"unrename", Command::unrename},
        {"translate", Command::translate},      {"bank show", Command::bankShow},
        {"bank verify", Command::bankVerify},   {"bank set", Command::bankSet},
        {"bank new", Command::bankNew},         {"settings show", Command::settingsShow},
        {"settings set", Command::settingsSet},
    };
    return names;
}

bool isHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

// The command that starts `args` and how many words it took, or its group alone ("bank") when
// the group's usage is asked for.
Result<std::pair<Command, std::size_t>, UsageError>
commandOf(const std::vector<std::string>& args) {
    for (const auto& [name, command] : commandNames()) {
        if (name == args[0]) {
            return std::pair{command, std::size_t{1}};
        }
    }
    if (args[0] != "bank" && args[0] != "settings") {
        return UsageError{"unknown command: " + args[0], {}};
    }
    if (args.size() < 2) {
        return UsageError{args[0] + " needs a command", args[0]};
    }
    if (isHelp(args[1])) {
        return std::pair{Command::help, std::size_t{2}};
    }
    for (const auto& [name, command] : commandNames()) {
        if (name == args[0] + " " + args[1]) {
            return std::pair{command, std::size_t{2}};
        }
    }
    return UsageError{"unknown " + args[0] + " command: " + args[1], args[0]};
}

// Whether an argument from `first` on asks for help, where it is not an option's value.
bool asksForHelp(const std::vector<std::string>& args, std::size_t first, const Options& options) {
    for (std::size_t i = first; i < args.size(); ++i) {
        if (options.values.contains(args[i])) {
            ++i;
        } else if (isHelp(args[i])) {
            return true;
        }
    }
    return false;
}

Arguments helpAbout(std::string topic) {
    Arguments help;
    help.command = Command::help;
    help.helpTopic = std::move(topic);
    return help;
}

// Whatever else a command line must hold together, once every argument has been taken.
Status checkCombinations(const Arguments& parsed) {
    if (parsed.random && parsed.wordsFile) {
        return Error{"choose one of --random and --words FILE"};
    }
    if (parsed.command == Command::settingsSet && !parsed.backupDir && !parsed.prefix &&
        !parsed.classPrefix && !parsed.kinds && parsed.sdkFolders.empty() &&
        parsed.protectFiles.empty() && !parsed.noSdk) {
        return Error{"settings set needs --backup-dir, --prefix, --class-prefix, --kinds, --sdk, "
                     "--no-sdk or --protect"};
    }
    if (parsed.mode == RenameMode::literal && parsed.kinds && parsed.kinds->beyondMethods()) {
        return Error{"--kinds needs the precise mode"};
    }
    if (parsed.command == Command::unrename && parsed.project.empty()) {
        return Error{"missing PROJECT"};
    }
    if (parsed.json && parsed.verbose) {
        return Error{"choose one of --json and --verbose"};
    }
    if (parsed.noSdk && !parsed.sdkFolders.empty()) {
        return Error{"choose one of --sdk DIR and --no-sdk"};
    }
    if (parsed.command == Command::settingsSet && parsed.protectFiles.size() > 1) {
        return Error{"settings set takes one --protect FILE"};
    }
    return Status::success();
}

} // namespace

std::string commandName(Command command) {
    for (const auto& [name, known] : commandNames()) {
        if (known == command) {
            return std::string(name);
        }
    }
    return {};
}

Result<Arguments, UsageError> parseArguments(const std::vector<std::string>& args) {
    if (isHelp(args[0]) || args[0] == "help") {
        std::string topic;
        for (std::size_t i = 1; i < args.size(); ++i) {
            topic += (i > 1 ? " " : "") + args[i];
        }
        return helpAbout(std::move(topic));
    }
    const auto command = commandOf(args);
    if (!command) {
        return command.error();
    }
    if (command->first == Command::help) {
        return helpAbout(args[0]);
    }
    Arguments parsed;
    parsed.command = command->first;
    const std::string name = commandName(parsed.command);
    const auto misuse = [&](std::string message) { return UsageError{std::move(message), name}; };
    const Options options = optionsFor(parsed.command);
    if (asksForHelp(args, command->second, options)) {
        return helpAbout(name);
    }
    bool positionalSeen = false;
    bool optionalSeen = false;
    for (std::size_t i = command->second; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto flag = options.flags.find(arg); flag != options.flags.end()) {
            flag->second(parsed);
        } else if (const auto value = options.values.find(arg); value != options.values.end()) {
            if (i + 1 >= args.size()) {
                return misuse(arg + " needs a value");
            }
            if (auto taken = value->second(parsed, args[++i]); !taken) {
                return misuse(taken.error().message);
            }
        } else if (arg.size() > 1 && arg.starts_with("-")) {
            return misuse(name + " has no option " + arg);
        } else if (positionalSeen && options.optionalPositional != nullptr && !optionalSeen) {
            parsed.*options.optionalPositional = arg;
            optionalSeen = true;
        } else if (positionalSeen && options.morePositionals != nullptr) {
            (parsed.*options.morePositionals).push_back(arg);
        } else if (options.positional == nullptr || positionalSeen) {
            return misuse("unexpected argument: " + arg);
        } else {
            parsed.*options.positional = arg;
            positionalSeen = true;
        }
    }
    if (options.positional != nullptr && !positionalSeen) {
        return misuse("missing " + options.positionalName);
    }
    if (const auto combined = checkCombinations(parsed); !combined) {
        return misuse(combined.error().message);
    }
    return parsed;
}

} // namespace quillet::cli
