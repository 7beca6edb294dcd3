#pragma once

#include <array>
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
// a directive line (a macro body) only pair up within that directive. Linear in the number of
// tokens whatever they are: the open brackets form a tree, so a state is one node to remember.
class BracketMatch {
public:
    static constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();

    BracketMatch(std::string_view source, const std::vector<Token>& tokens);

    // The token that closes the opener at `token` or opens the closer at `token`, or none.
    std::uint32_t partner(std::size_t token) const { return partner_[token]; }
    // The first closers without their opener and openers never closed, outside macro bodies.
    const std::vector<LexProblem>& problems() const { return problems_; }

private:
    // An open bracket: its token, the one open around it, and how many of each kind are open
    // from the outermost down to it.
    struct Open {
        std::uint32_t token;
        std::uint32_t outer;
        std::array<std::uint32_t, 3> counts;
    };

    void open(std::uint32_t& top, std::uint32_t token, int kind);
    void close(std::uint32_t& top, std::uint32_t closer, int kind, bool report);
    void conditional(std::string_view name);
    void report(std::uint32_t token, const char* what);

    struct Conditional {
        std::uint32_t atIf;
        std::uint32_t afterFirstBranch = none;
        bool firstBranchDone = false;
    };

    const std::vector<Token>& tokens_;
    std::vector<std::uint32_t> partner_;
    std::vector<Open> opens_;
    std::uint32_t top_ = none;
    std::vector<Conditional> conditionals_;
    std::vector<LexProblem> problems_;
};

} // namespace quillet::objc
