#include <iostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Commands.h"

int main(int argc, char** argv) {
    using namespace quillet::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = parseArguments(args);
    if (!parsed.arguments) {
        std::cerr << "quillet-cli: " << parsed.error << "\n\n" << usageText();
        return usage;
    }
    switch (parsed.arguments->command) {
    case Command::methods:
        return runMethods(*parsed.arguments);
    case Command::rename:
        return runRename(*parsed.arguments);
    case Command::help:
        break;
    }
    std::cout << usageText();
    return done;
}
