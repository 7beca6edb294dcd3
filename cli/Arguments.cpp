#include "Arguments.h"

namespace quillet::cli {

namespace {

bool isIdentifier(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) {
            return false;
        }
    }
    return true;
}

ParseResult failure(std::string error) {
    return ParseResult{std::nullopt, std::move(error)};
}

} // namespace

std::string usageText() {
    return "usage:\n"
           "  quillet-cli methods PROJECT [--ignore PREFIX]...\n"
           "      List the methods a rename would change: selector, a tab, declaring header.\n"
           "  quillet-cli rename PROJECT (--random | --words FILE) [--prefix P]\n"
           "                     [--ignore PREFIX]... [--quiet] [--verbose]\n"
           "      Rename the methods of PROJECT in place and write MethodReplaceList.txt beside\n"
           "      its sources. FILE holds a word bank text: words joined by \",\".\n"
           "\n"
           "  --ignore PREFIX  skip sub-paths of PROJECT that start with PREFIX\n"
           "  --random         make new names of random letters\n"
           "  --words FILE     draw new names from the words in FILE\n"
           "  --prefix P       put P in front of every new method name\n"
           "  --quiet          no progress and no summary\n"
           "  --verbose        also print the run log on standard output\n"
           "\n"
           "exit status: 0 done, 1 the run could not start, 2 usage error,\n"
           "             3 done but some files could not be written (see the log)\n";
}

ParseResult parseArguments(const std::vector<std::string>& args) {
    Arguments parsed;
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        return ParseResult{parsed, ""};
    }
    if (args[0] == "methods") {
        parsed.command = Command::methods;
    } else if (args[0] == "rename") {
        parsed.command = Command::rename;
    } else {
        return failure("unknown command: " + args[0]);
    }
    const bool renaming = parsed.command == Command::rename;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) {
                return false;
            }
            target = args[++i];
            return true;
        };
        std::string text;
        if (arg == "--ignore") {
            if (!value(text)) {
                return failure("--ignore needs a prefix");
            }
            parsed.ignore.push_back(text);
        } else if (renaming && arg == "--random") {
            parsed.random = true;
        } else if (renaming && arg == "--words") {
            if (!value(text)) {
                return failure("--words needs a file");
            }
            parsed.wordsFile = text;
        } else if (renaming && arg == "--prefix") {
            if (!value(parsed.prefix)) {
                return failure("--prefix needs a value");
            }
            if (!isIdentifier(parsed.prefix)) {
                return failure(
                    "--prefix must be letters, digits and \"_\", not starting with a digit");
            }
        } else if (renaming && arg == "--quiet") {
            parsed.quiet = true;
        } else if (renaming && arg == "--verbose") {
            parsed.verbose = true;
        } else if (arg.starts_with("--") || !parsed.project.empty()) {
            return failure("unexpected argument: " + arg);
        } else {
            parsed.project = arg;
        }
    }
    if (parsed.project.empty()) {
        return failure("missing PROJECT");
    }
    if (renaming && parsed.random == parsed.wordsFile.has_value()) {
        return failure("choose exactly one of --random and --words FILE");
    }
    return ParseResult{parsed, ""};
}

} // namespace quillet::cli
