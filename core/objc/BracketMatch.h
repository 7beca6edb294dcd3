#pragma once

#include <cstdint>
#include <limits>
#include <string_view>
#include <vector>

#include "objc/Lexer.h"
#include "objc/Token.h"

namespace quillet::objc {

// Which bracket closes which among the tokens of a file. Preprocessor conditionals are followed
// along their first branch: every other branch starts again from the state at its #if, so
// "#if A / - (void)f:(A *)a { / #else / - (void)f:(B *)b { / #endif" still balances. Brackets in
// a directive line (a macro body) only pair up within that directive.
class BracketMatch {
public:
    static constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

    BracketMatch(std::string_view source, const std::vector<Token>& tokens);

    // The token that closes the opener at `token` or opens the closer at `token`, or none.
    std::uint32_t partner(std::size_t token) const { return partner_[token]; }
    // Closers without their opener and openers never closed outside of macro bodies.
    const std::vector<LexProblem>& problems() const { return problems_; }

private:
    void close(std::vector<std::uint32_t>& stack, std::uint32_t closer, bool report);
    void conditional(std::string_view name);

    struct Conditional {
        std::vector<std::uint32_t> atIf;
        std::vector<std::uint32_t> afterFirstBranch;
        bool firstBranchDone = false;
    };

    std::string_view source_;
    const std::vector<Token>& tokens_;
    std::vector<std::uint32_t> partner_;
    std::vector<std::uint32_t> stack_;
    std::vector<Conditional> conditionals_;
    std::vector<LexProblem> problems_;
};

} // namespace quillet::objc
