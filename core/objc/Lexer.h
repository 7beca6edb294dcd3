#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "objc/Token.h"

namespace quillet::objc {

// Something the lexer could not read the usual way; the tokens go on after it.
struct LexProblem {
    std::uint32_t offset = 0;
    std::string what; // e.g. "unterminated comment"
};

struct Lexed {
    std::vector<Token> tokens;
    std::vector<LexProblem> problems; // the first few
};

// Cuts an Objective-C or Objective-C++ text into tokens in one pass, without regular
// expressions or backtracking. Comments and white space give no tokens; code inside a #define
// body does (flagged inDirective), code inside "#if 0" does not. Never fails: unterminated
// comments and literals end at the end of the text (or of their line) and are reported.
Lexed lex(std::string_view text, Dialect dialect);

// The name of a directive token: "import" for "#  import".
std::string_view directiveName(std::string_view source, const Token& directive);

} // namespace quillet::objc
