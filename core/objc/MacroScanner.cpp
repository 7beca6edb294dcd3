#include "objc/MacroScanner.h"

#include "objc/Lexer.h"

namespace quillet::objc {

MacroScanner::MacroScanner(std::string_view text, const std::vector<Token>& tokens, Dialect dialect)
    : text_(text), tokens_(tokens), dialect_(dialect) {
    const auto onLine = [&](std::size_t k) {
        return k < tokens.size() && tokens[k].is(Token::inDirective) &&
               tokens[k].kind != TokenKind::directive;
    };
    const auto punct = [&](std::size_t k, std::string_view p) {
        return onLine(k) && tokens[k].kind == TokenKind::punctuator && tokens[k].in(text) == p;
    };
    for (std::size_t i = 0; i + 2 < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::directive || directiveName(text, tokens[i]) != "define") {
            continue;
        }
        const std::size_t name = i + 1;
        // Function-like only when the parenthesis touches the name.
        if (!onLine(name) || tokens[name].kind != TokenKind::identifier || !punct(name + 1, "(") ||
            tokens[name + 1].offset != tokens[name].end()) {
            continue;
        }
        MacroExtent macro;
        macro.nameToken = name;
        std::size_t k = name + 2;
        for (; onLine(k) && !punct(k, ")"); ++k) {
            if (tokens[k].kind == TokenKind::identifier) {
                macro.parameters.push_back(tokens[k].in(text));
            }
        }
        if (!punct(k, ")")) {
            i = k - 1;
            continue;
        }
        macro.first = k + 1;
        macro.end = macro.first;
        while (onLine(macro.end)) {
            ++macro.end;
        }
        i = macro.end - 1;
        if (macro.end > macro.first) {
            bodies_.emplace_back(macro.first, macro.end);
            macros_.push_back(std::move(macro));
        }
    }
}

void MacroScanner::run(UseRecorder& uses) const {
    for (const auto& macro : macros_) {
        auto definition = MacroBodyReader(text_, tokens_, dialect_, macro).read(uses);
        if (!definition.selectors.empty() || !definition.stringized.empty()) {
            uses.facts().macros.push_back(std::move(definition));
        }
    }
}

} // namespace quillet::objc
