#include "objc/BracketMatch.h"

namespace quillet::objc {

namespace {

// The bracket character of a one-character punctuator, or '\0'.
char bracketOf(std::string_view source, const Token& token) {
    if (token.kind != TokenKind::punctuator || token.length != 1) {
        return '\0';
    }
    const char c = source[token.offset];
    switch (c) {
    case '(':
    case ')':
    case '[':
    case ']':
    case '{':
    case '}':
        return c;
    default:
        return '\0';
    }
}

char openerFor(char closer) {
    return closer == ')' ? '(' : closer == ']' ? '[' : '{';
}

} // namespace

BracketMatch::BracketMatch(std::string_view source, const std::vector<Token>& tokens)
    : source_(source), tokens_(tokens), partner_(tokens.size(), none) {
    std::vector<std::uint32_t> directiveStack;
    for (std::uint32_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.kind == TokenKind::directive) {
            directiveStack.clear();
            conditional(directiveName(source, token));
            continue;
        }
        const char bracket = bracketOf(source, token);
        if (bracket == '\0') {
            continue;
        }
        const bool inDirective = token.is(Token::inDirective);
        auto& stack = inDirective ? directiveStack : stack_;
        if (bracket == '(' || bracket == '[' || bracket == '{') {
            stack.push_back(i);
        } else {
            close(stack, i, !inDirective);
        }
    }
    for (const auto opener : stack_) {
        problems_.push_back({tokens[opener].offset, "unclosed bracket"});
    }
}

void BracketMatch::close(std::vector<std::uint32_t>& stack, std::uint32_t closer, bool report) {
    const char wanted = openerFor(source_[tokens_[closer].offset]);
    // Usually the top; otherwise the nearest opener of the same kind, leaving the ones above it
    // unclosed.
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (source_[tokens_[*it].offset] != wanted) {
            continue;
        }
        const std::uint32_t opener = *it;
        if (report && it != stack.rbegin()) {
            problems_.push_back({tokens_[stack.back()].offset, "unclosed bracket"});
        }
        stack.erase(std::prev(it.base()), stack.end());
        partner_[opener] = closer;
        partner_[closer] = opener;
        return;
    }
    if (report) {
        problems_.push_back({tokens_[closer].offset, "closing bracket without its opener"});
    }
}

void BracketMatch::conditional(std::string_view name) {
    if (name == "if" || name == "ifdef" || name == "ifndef") {
        conditionals_.push_back({stack_, {}, false});
        return;
    }
    if (conditionals_.empty()) {
        return;
    }
    auto& current = conditionals_.back();
    if (name == "elif" || name == "else") {
        if (!current.firstBranchDone) {
            current.afterFirstBranch = stack_;
            current.firstBranchDone = true;
        }
        stack_ = current.atIf;
    } else if (name == "endif") {
        if (current.firstBranchDone) {
            stack_ = std::move(current.afterFirstBranch);
        }
        conditionals_.pop_back();
    }
}

} // namespace quillet::objc
