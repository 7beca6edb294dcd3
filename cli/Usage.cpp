#include "Usage.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace quillet::cli {

namespace {

struct OptionHelp {
    std::string_view option;
    std::string_view text;
};

struct CommandHelp {
    std::string_view name;     // as typed: "methods", "bank set"
    std::string_view synopsis; // what follows the name
    std::string_view description;
    std::vector<std::string_view> options; // keys of optionHelp
};

const std::vector<OptionHelp>& optionHelp() {
    static const std::vector<OptionHelp> options = {
        {"--mode precise|literal",
         "precise (the default) reads the sources as Objective-C: it renames every exact use of "
         "a selector, and never one the SDK, the runtime or code outside the project owns; "
         "literal rewrites by the text rules, in the files that import the header"},
        {"--kinds LIST",
         "the kinds of names the precise mode renames, comma-separated: methods (those that take "
         "arguments; always in the list), unary (argument-less methods, which keep their names "
         "when they are also a property, a key, a runtime or NSObject name or are written other "
         "than as a message), properties, classes and protocols (the project's own; a name the "
         "SDK, an archive, a resource or code the tool cannot follow reads keeps its own); the "
         "default is the stored list, methods alone until settings set --kinds changes it"},
        {"--sdk DIR", "also protect the selectors declared by the headers below DIR (the "
                      "platform's SDKs are read on their own: xcrun's on macOS, GNUstep's "
                      "elsewhere); settings set stores the folders for every run"},
        {"--protect FILE", "never rename the selectors in FILE, one a line; settings set stores "
                           "them for every run"},
        {"--ignore PREFIX", "skip sub-paths of PROJECT that start with PREFIX (the precise mode "
                            "still reads them, to protect what they use)"},
        {"--include-vendored", "in the precise mode, rename in Pods/ and Carthage/ too (by "
                               "default they are only read, to protect what they use)"},
        {"--skip-unreadable",
         "go ahead although some files or folders of the project cannot be read: they are left "
         "as they are, and in the precise mode the methods declared beside them keep their "
         "names; the run then exits with 3 (a backup still needs every file to be readable)"},
        {"--random", "make new names of random letters"},
        {"--words FILE", "draw new names from FILE, a bank text: words of 8 or more ASCII "
                         "letters joined by \",\""},
        {"--prefix P", "put P in front of every new method name (default: the stored prefix); "
                       "settings set stores it"},
        {"--reuse NAMES",
         "give every name that NAMES, an earlier run's QuilletNames.tsv or MethodReplaceList.txt, "
         "lists the same new name again (a name that now means something else gets a fresh one, "
         "and is said to); new names clash with none NAMES holds; names NAMES lists that the "
         "project no longer has stay in the new QuilletNames.tsv, marked unused"},
        {"--class-prefix P", "put P in front of every new class and protocol name (default: the "
                             "stored prefix); settings set stores it"},
        {"--no-backup", "do not zip the project into the backup directory first; without this, "
                        "a backup that fails stops the run before anything is written"},
        {"--dry-run", "write nothing; print the changes as a unified diff"},
        {"--quiet", "no progress and no summary"},
        {"--verbose", "also print the run log on standard output"},
        {"--json", "print one JSON document on standard output instead of text, and no "
                   "progress (its keys are described in quillet-cli(1) and the README)"},
        {"--clean", "remove the files added since the backup instead of keeping them"},
        {"--remark R", "the word bank's remark"},
        {"--force", "replace a default bank that has words, which are then lost"},
        {"--backup-dir D", "store D as the folder rename zips projects into"},
        {"--no-sdk", "forget the stored SDK folders"},
    };
    return options;
}

const std::vector<CommandHelp>& commandHelp() {
    static const std::vector<CommandHelp> commands = {
        {"methods",
         "PROJECT [--mode precise|literal] [--kinds LIST] [--sdk DIR]... [--protect FILE]... "
         "[--ignore PREFIX]... [--include-vendored] [--skip-unreadable] [--json]",
         "List the methods a rename would change: selector, a tab, declaring header; in the "
         "precise mode a third column says rename or why it is protected. With more kinds than "
         "methods, lines such as \"class CartView\", a tab, rename or why it is protected "
         "follow. A summary goes to standard error.",
         {"--mode precise|literal", "--kinds LIST", "--sdk DIR", "--protect FILE",
          "--ignore PREFIX", "--include-vendored", "--skip-unreadable", "--json"}},
        {"rename",
         "PROJECT [--random | --words FILE] [--prefix P] [--class-prefix P] [--reuse NAMES] "
         "[--no-backup] "
         "[--mode precise|literal] [--kinds LIST] [--sdk DIR]... [--protect FILE]... "
         "[--ignore PREFIX]... [--include-vendored] [--skip-unreadable] [--dry-run] [--quiet] "
         "[--verbose] [--json]",
         "Back the project up, rename its methods in place and write MethodReplaceList.txt "
         "beside its sources (and QuilletNames.tsv, every old and new name by kind, when more "
         "kinds than methods are renamed; a class's files are renamed with it). New names come "
         "from the default word bank unless --random or --words is given. Progress and a "
         "summary go to standard error.",
         {"--random", "--words FILE", "--prefix P", "--class-prefix P", "--reuse NAMES",
          "--no-backup", "--mode precise|literal", "--kinds LIST", "--sdk DIR", "--protect FILE",
          "--ignore PREFIX", "--include-vendored", "--skip-unreadable", "--dry-run", "--quiet",
          "--verbose", "--json"}},
        {"unrename",
         "NAMES PROJECT [--dry-run] [--no-backup] [--quiet] [--json]",
         "Rename PROJECT back with NAMES, the QuilletNames.tsv (or MethodReplaceList.txt) of the "
         "run that renamed it, when no backup is at hand: every name NAMES gives goes back to the "
         "old one and a class's moved files to their old names; the name lists stay. Refused, "
         "naming each, where the project has gained an old name since. The project is zipped "
         "into the backup directory first.",
         {"--dry-run", "--no-backup", "--quiet", "--json"}},
        {"restore",
         "ARCHIVE [PROJECT] [--clean] [--json]",
         "Put the project back as the backup ARCHIVE holds it (into the folder it was made of, "
         "unless PROJECT is given). Files added since are listed and kept, or removed with "
         "--clean.",
         {"--clean", "--json"}},
        {"translate",
         "NAMES [FILE...]",
         "Write each FILE (standard input when none is given, or for -) on standard output with "
         "the new names of a renamed build put back to the old ones NAMES gives (the run's "
         "QuilletNames.tsv or MethodReplaceList.txt): crash reports (.crash, .ips), atos output, "
         "logs, sources. Only whole names change, a name that could stand for two old ones is "
         "left as it is, and every other byte is copied. A FILE that cannot be read is named on "
         "standard error and the others are still translated; the status is then 1.",
         {}},
        {"bank show",
         "[--json]",
         "Show the default word bank: its token, remark, word count and owner.",
         {"--json"}},
        {"bank verify",
         "FILE",
         "Check a bank text: words of 8 or more ASCII letters joined by \",\" (shorter words are "
         "left out).",
         {}},
        {"bank set",
         "FILE [--remark R]",
         "Make FILE's words the default bank's words.",
         {"--remark R"}},
        {"bank new",
         "[--remark R] [--force]",
         "Start a new default bank with a new token and no words.",
         {"--remark R", "--force"}},
        {"settings show", "", "Show the stored settings.", {}},
        {"settings set",
         "[--backup-dir D] [--prefix P] [--class-prefix P] [--kinds LIST] [--sdk DIR]... "
         "[--no-sdk] [--protect FILE]",
         "Store settings for every later run, of this command and of the window.",
         {"--backup-dir D", "--prefix P", "--class-prefix P", "--kinds LIST", "--sdk DIR",
          "--no-sdk", "--protect FILE"}},
    };
    return commands;
}

constexpr std::size_t width = 80;
constexpr std::size_t optionColumn = 22;

// Where the first word of `text` ends: at a space outside square brackets, so that an option
// of a synopsis ("[--sdk DIR]...") stays on one line.
std::size_t wordEnd(std::string_view text) {
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        depth += text[i] == '[' ? 1 : text[i] == ']' ? -1 : 0;
        if (text[i] == ' ' && depth <= 0) {
            return i;
        }
    }
    return text.size();
}

// `text` broken into lines of at most `width` characters at spaces, every line after the first
// indented by `indent`; the first starts where the caller left off, at column `start`.
std::string wrapped(std::string_view text, std::size_t start, std::size_t indent) {
    std::string out;
    std::size_t column = start;
    bool lineEmpty = true;
    while (!text.empty()) {
        const auto end = wordEnd(text);
        const auto word = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!lineEmpty && column + 1 + word.size() > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        lineEmpty = false;
    }
    return out + "\n";
}

std::string synopsisOf(const CommandHelp& command) {
    const std::string head = "  quillet-cli " + std::string(command.name);
    if (command.synopsis.empty()) {
        return head + "\n";
    }
    return head + " " + wrapped(command.synopsis, head.size() + 1, head.size() + 1);
}

std::string optionsText(const std::vector<std::string_view>& names) {
    std::string out;
    for (const auto& option : optionHelp()) {
        if (std::find(names.begin(), names.end(), option.option) == names.end()) {
            continue;
        }
        std::string line = "  " + std::string(option.option);
        if (line.size() + 1 >= optionColumn) {
            line += '\n';
            line.append(optionColumn, ' ');
        } else {
            line.append(optionColumn - line.size(), ' ');
        }
        out += line + wrapped(option.text, optionColumn, optionColumn);
    }
    return out;
}

const std::string exitStatusText =
    "exit status: 0 done; 1 refused or could not start (the project was not changed); 2 usage "
    "error; 3 done, but some files could not be read, written or put back, or were skipped "
    "(each is named)";

// The lines of the commands `wanted` picks, then the options they take, then the exit statuses.
std::string usageOf(std::string head, const std::function<bool(std::string_view)>& wanted) {
    std::vector<std::string_view> options;
    for (const auto& command : commandHelp()) {
        if (wanted(command.name)) {
            head += synopsisOf(command) + "      " + wrapped(command.description, 6, 6);
            options.insert(options.end(), command.options.begin(), command.options.end());
        }
    }
    if (!options.empty()) {
        head += "\noptions:\n" + optionsText(options);
    }
    return head + "\n" + wrapped(exitStatusText, 0, 13);
}

} // namespace

std::string usageText() {
    return usageOf("usage:\n  quillet-cli --version\n  quillet-cli COMMAND --help\n",
                   [](std::string_view) { return true; });
}

std::string usageText(std::string_view topic) {
    // A group's topic is the first word of its commands' names.
    const auto wanted = [&](std::string_view name) {
        return name == topic ||
               (name.starts_with(topic) && name.size() > topic.size() && name[topic.size()] == ' ');
    };
    const auto& commands = commandHelp();
    const bool known =
        std::any_of(commands.begin(), commands.end(),
                    [&](const CommandHelp& command) { return wanted(command.name); });
    return known ? usageOf("usage:\n", wanted) : usageText();
}

} // namespace quillet::cli
