#include <iostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "BankCommands.h"
#include "Commands.h"
#include "RestoreCommand.h"
#include "SettingsCommands.h"
#include "TranslateCommand.h"
#include "Usage.h"
#include "base/Fatal.h"
#include "log/Console.h"
#include "version/Version.h"

// An exception that escapes ends through fatal(), which says what it was.
int main(int argc, char** argv) { // NOLINT(bugprone-exception-escape)
    using namespace quillet::cli;
    quillet::reportTerminations();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "quillet-cli " << quillet::version << "\n";
        return done;
    }
    if (args.empty()) {
        std::cerr << usageText();
        return usage;
    }
    // The log is echoed only by rename --verbose.
    quillet::Console::shared().setEcho(false);
    const auto parsed = parseArguments(args);
    if (!parsed) {
        // One line and where to look: the whole usage would bury what went wrong.
        const auto& error = parsed.error();
        std::cerr << "quillet-cli: " << error.message << "\n"
                  << "see quillet-cli " << (error.topic.empty() ? "" : error.topic + " ")
                  << "--help\n";
        return usage;
    }
    switch (parsed->command) {
    case Command::methods:
        return runMethods(*parsed);
    case Command::rename:
        return runRename(*parsed);
    case Command::restore:
        return runRestore(*parsed);
    case Command::unrename:
        return runUnrename(*parsed);
    case Command::translate:
        return runTranslate(*parsed);
    case Command::bankShow:
        return runBankShow(*parsed);
    case Command::bankVerify:
        return runBankVerify(*parsed);
    case Command::bankSet:
        return runBankSet(*parsed);
    case Command::bankNew:
        return runBankNew(*parsed);
    case Command::settingsShow:
        return runSettingsShow();
    case Command::settingsSet:
        return runSettingsSet(*parsed);
    case Command::help:
        break;
    }
    std::cout << usageText(parsed->helpTopic);
    return done;
}
