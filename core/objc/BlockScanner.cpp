#include "objc/BlockScanner.h"

#include <algorithm>

#include "objc/KeyNameReader.h"
#include "objc/Lexer.h"
#include "objc/MethodSignature.h"

namespace quillet::objc {

void BlockScanner::run() {
    std::size_t i = 0;
    while (i < tokens_.count()) {
        if (startsBlock(i) && !tokens_[i].is(Token::inDirective)) {
            i = block(i);
        } else {
            ++i;
        }
    }
    readAlternativeSignatures();
}

bool BlockScanner::startsBlock(std::size_t i) const {
    return tokens_.atKeyword(i, "@interface") || tokens_.atKeyword(i, "@implementation") ||
           tokens_.atKeyword(i, "@protocol");
}

// Reads a block from its keyword to its @end; returns the token after it.
std::size_t BlockScanner::block(std::size_t start) {
    Container container;
    const auto word = tokens_.textOf(start);
    container.kind = word == "@interface"   ? Container::Kind::interface
                     : word == "@protocol" ? Container::Kind::protocol
                                           : Container::Kind::implementation;
    std::size_t i = start + 1;
    if (!tokens_.identifier(i)) {
        return i; // @protocol(Name) is an expression
    }
    container.name = tokens_.textOf(i++);
    if (container.kind == Container::Kind::protocol &&
        (tokens_.punct(i, ";") || tokens_.punct(i, ","))) {
        return i; // a forward declaration
    }
    while (i < tokens_.count()) {
        if (tokens_.punct(i, "<")) {
            const std::size_t end = pastAngles(i);
            for (std::size_t p = i + 1; p < end; ++p) {
                if (tokens_.identifier(p)) {
                    container.protocols.emplace_back(tokens_.textOf(p));
                }
            }
            i = end;
        } else if (tokens_.punct(i, ":") && tokens_.identifier(i + 1)) {
            container.superclass = tokens_.textOf(i + 1);
            i += 2;
        } else if (tokens_.punct(i, "(")) {
            container.category = true;
            i = tokens_.past(i);
        } else {
            break;
        }
    }
    const KeyNameReader keys(tokens_);
    if (tokens_.punct(i, "{")) {
        i = keys.instanceVariables(i, container.keys);
    }
    auto& containers = uses_.facts().containers;
    const auto index = static_cast<std::int32_t>(containers.size());
    const bool implementation = container.kind == Container::Kind::implementation;
    containers.push_back(std::move(container));
    while (i < tokens_.count() && !tokens_.atKeyword(i, "@end") && !startsBlock(i)) {
        if (tokens_[i].is(Token::inDirective)) {
            ++i;
        } else if (tokens_.atKeyword(i, "@property")) {
            i = property(i, keys, index);
        } else if (tokens_.atKeyword(i, "@dynamic") || tokens_.atKeyword(i, "@synthesize")) {
            i = keys.implementedProperties(i, containers[index].keys);
        } else if (tokens_.punct(i, "-") || tokens_.punct(i, "+")) {
            i = method(i, index, implementation);
        } else {
            i = tokens_.past(i);
        }
    }
    blocks_.push_back({start, i, index, implementation});
    return tokens_.atKeyword(i, "@end") ? i + 1 : i;
}

// A property's name and custom getter are argument-less selectors too; returns the token after
// the declaration.
std::size_t BlockScanner::property(std::size_t keyword, const KeyNameReader& keys,
                                   std::int32_t container) {
    auto& names = uses_.facts().containers[container].keys;
    const std::size_t declared = names.size();
    const std::size_t next = keys.property(keyword, names);
    auto& properties = uses_.facts().containers[container].properties;
    for (std::size_t n = declared; n < names.size(); ++n) {
        properties.push_back({names[n], !keys.customGetter(keyword).empty(),
                              keys.hasCustomSetter(keyword), keys.isInspectable(keyword)});
    }
    if (uses_.recordsUnary()) {
        std::vector<std::string> accessors(names.begin() + static_cast<std::ptrdiff_t>(declared),
                                           names.end());
        if (auto getter = keys.customGetter(keyword); !getter.empty()) {
            accessors.push_back(std::move(getter));
        }
        for (auto& accessor : accessors) {
            uses_.keep(uses_.start(UseKind::propertyAccessor, container), std::move(accessor));
        }
    }
    return next;
}

// The name of an argument-less method from its "-" or "+" (recording its span), or nothing:
// "- (void)reloadCart" names reloadCart.
std::string BlockScanner::unaryName(std::size_t start) {
    std::size_t i = start + 1;
    if (tokens_.punct(i, "(")) {
        i = tokens_.past(i);
    }
    if (!tokens_.identifier(i) || tokens_.punct(i + 1, ":")) {
        return {};
    }
    uses_.span(tokens_[i].offset, tokens_[i].length);
    return std::string(tokens_.textOf(i));
}

// "#if A / - (void)f:(A *)a { / #else / - (void)f:(B *)b { / #endif" gives one body to two
// signatures; the body is skipped after the first, so the other one is read here.
void BlockScanner::readAlternativeSignatures() {
    for (std::size_t i = 0; i < tokens_.count(); ++i) {
        if (tokens_[i].kind != TokenKind::directive) {
            continue;
        }
        const auto name = directiveName(tokens_.text(), tokens_[i]);
        if (name != "else" && name != "elif") {
            continue;
        }
        std::size_t next = i + 1;
        while (next < tokens_.count() && tokens_[next].is(Token::inDirective)) {
            ++next;
        }
        if (!(tokens_.punct(next, "-") || tokens_.punct(next, "+")) ||
            methodStarts_.contains(next)) {
            continue;
        }
        // The last block starting before the signature, if the signature is inside it.
        const auto after = std::upper_bound(
            blocks_.begin(), blocks_.end(), next,
            [](std::size_t token, const BlockExtent& block) { return token < block.first; });
        if (after != blocks_.begin() && next < std::prev(after)->end) {
            const auto& block = *std::prev(after);
            method(next, block.container, block.implementation);
        }
    }
}

// Past a list in angle brackets (generic parameters, protocols); stops early at anything that
// cannot be inside one.
std::size_t BlockScanner::pastAngles(std::size_t i) const {
    int depth = 0;
    for (; i < tokens_.count(); ++i) {
        if (tokens_.punct(i, "<")) {
            ++depth;
        } else if (tokens_.punct(i, ">")) {
            --depth;
        } else if (tokens_.punct(i, ">>")) {
            depth -= 2;
        } else if (tokens_.punct(i, ";") || tokens_.punct(i, "{") || tokens_.punct(i, "-") ||
                   tokens_.punct(i, "+") || tokens_[i].kind == TokenKind::atKeyword) {
            return i;
        }
        if (depth <= 0) {
            return i + 1;
        }
    }
    return i;
}

// A method declaration or definition starting at its "-" or "+"; returns the token after it
// (after the body of a definition).
std::size_t BlockScanner::method(std::size_t start, std::int32_t container, bool implementation) {
    methodStarts_.insert(start);
    SelectorUse use =
        uses_.start(implementation ? UseKind::definition : UseKind::declaration, container);
    use.classMethod = tokens_.punct(start, "+");
    std::string selector;
    const std::size_t i = readMethodKeywords(tokens_, start, uses_, selector);
    if (selector.empty() && uses_.recordsUnary()) {
        selector = unaryName(start);
    }
    const std::size_t end = signatureEnd(i);
    for (std::size_t t = start; t < end && !use.blockTyped; ++t) {
        use.blockTyped = tokens_.punct(t, "^");
    }
    if (selector.empty()) {
        uses_.drop(use);
    } else {
        uses_.keep(std::move(use), std::move(selector));
    }
    if (implementation) {
        const std::size_t body =
            tokens_.punct(end, ";") && tokens_.punct(end + 1, "{") ? end + 1 : end;
        if (tokens_.punct(body, "{")) {
            return tokens_.past(body);
        }
    }
    return tokens_.punct(end, ";") ? end + 1 : end;
}

// The ";" or "{" that ends a signature (after its attributes and a variadic ", ..."), or the
// token that starts the next member when neither comes first.
std::size_t BlockScanner::signatureEnd(std::size_t i) const {
    while (i < tokens_.count()) {
        if (tokens_[i].is(Token::inDirective)) {
            ++i;
        } else if (tokens_.punct(i, ";") || tokens_.punct(i, "{") || tokens_.punct(i, "-") ||
                   tokens_.punct(i, "+") || tokens_[i].kind == TokenKind::atKeyword) {
            return i;
        } else {
            i = tokens_.past(i);
        }
    }
    return i;
}

} // namespace quillet::objc
