#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet::cli {

enum class Command { methods, rename, help };

struct Arguments {
    Command command = Command::help;
    std::string project;
    std::vector<std::string> ignore;
    bool random = false;
    std::optional<std::string> wordsFile;
    std::string prefix;
    bool quiet = false;
    bool verbose = false;
};

struct ParseResult {
    std::optional<Arguments> arguments;
    std::string error; // why the command line is not understood, when it is not
};

ParseResult parseArguments(const std::vector<std::string>& args);
std::string usageText();

} // namespace quillet::cli
