#include "objc/BracketMatch.h"

namespace quillet::objc {

namespace {

// How far below the innermost open bracket a closer looks for its own kind before it is taken
// for a stray one: real code never needs many, and the bound keeps hostile input linear.
constexpr int deepestSearch = 64;
constexpr std::size_t mostProblems = 16;

// 0, 1, 2 for "(", "[", "{"; 3, 4, 5 for their closers; -1 for anything else.
int bracketOf(std::string_view source, const Token& token) {
    if (token.kind != TokenKind::punctuator || token.length != 1) {
        return -1;
    }
    switch (source[token.offset]) {
    case '(':
        return 0;
    case '[':
        return 1;
    case '{':
        return 2;
    case ')':
        return 3;
    case ']':
        return 4;
    case '}':
        return 5;
    default:
        return -1;
    }
}

} // namespace

BracketMatch::BracketMatch(std::string_view source, const std::vector<Token>& tokens)
    : tokens_(tokens), partner_(tokens.size(), none) {
    std::uint32_t directiveTop = none;
    for (std::uint32_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.kind == TokenKind::directive) {
            directiveTop = none;
            conditional(directiveName(source, token));
            continue;
        }
        const int bracket = bracketOf(source, token);
        if (bracket < 0) {
            continue;
        }
        const bool inDirective = token.is(Token::inDirective);
        auto& top = inDirective ? directiveTop : top_;
        if (bracket < 3) {
            open(top, i, bracket);
        } else {
            close(top, i, bracket - 3, !inDirective);
        }
    }
    for (auto node = top_; node != none; node = opens_[node].outer) {
        report(opens_[node].token, "unclosed bracket");
    }
}

void BracketMatch::report(std::uint32_t token, const char* what) {
    if (problems_.size() < mostProblems) {
        problems_.push_back({tokens_[token].offset, what});
    }
}

void BracketMatch::open(std::uint32_t& top, std::uint32_t token, int kind) {
    Open node{token, top, top == none ? std::array<std::uint32_t, 3>{} : opens_[top].counts};
    ++node.counts[static_cast<std::size_t>(kind)];
    opens_.push_back(node);
    top = static_cast<std::uint32_t>(opens_.size() - 1);
}

void BracketMatch::close(std::uint32_t& top, std::uint32_t closer, int kind, bool report) {
    const auto k = static_cast<std::size_t>(kind);
    // Usually the innermost; otherwise the nearest one of the same kind, leaving the ones inside
    // it unclosed.
    std::uint32_t node = top;
    for (int depth = 0; node != none && opens_[node].counts[k] > 0 && depth < deepestSearch;
         ++depth, node = opens_[node].outer) {
        const auto& candidate = opens_[node];
        const bool sameKind =
            candidate.counts[k] > (candidate.outer == none ? 0 : opens_[candidate.outer].counts[k]);
        if (!sameKind) {
            continue;
        }
        if (report && node != top) {
            this->report(opens_[top].token, "unclosed bracket");
        }
        partner_[candidate.token] = closer;
        partner_[closer] = candidate.token;
        top = candidate.outer;
        return;
    }
    if (report) {
        this->report(closer, "closing bracket without its opener");
    }
}

void BracketMatch::conditional(std::string_view name) {
    if (name == "if" || name == "ifdef" || name == "ifndef") {
        conditionals_.push_back({top_});
        return;
    }
    if (conditionals_.empty()) {
        return;
    }
    auto& current = conditionals_.back();
    if (name == "elif" || name == "else") {
        if (!current.firstBranchDone) {
            current.afterFirstBranch = top_;
            current.firstBranchDone = true;
        }
        top_ = current.atIf;
    } else if (name == "endif") {
        if (current.firstBranchDone) {
            top_ = current.afterFirstBranch;
        }
        conditionals_.pop_back();
    }
}

} // namespace quillet::objc
