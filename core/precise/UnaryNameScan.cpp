#include "precise/UnaryNameScan.h"

#include <unordered_set>

#include "objc/Lexer.h"
#include "text/Text.h"

namespace quillet {

namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

// The text inside a string literal's quotes: @"a.b", "a.b", L"a.b" and the like.
std::string_view contentOf(std::string_view literal) {
    const auto open = literal.find('"');
    if (open == std::string_view::npos || literal.size() < open + 2 || literal.back() != '"') {
        return {};
    }
    return literal.substr(open + 1, literal.size() - open - 2);
}

} // namespace

UnaryNameScan::UnaryNameScan(const std::vector<SourceFile>& files, const ProjectIndex& index,
                             const SelectorSet& candidates)
    : files_(files), index_(index), candidates_(candidates) {
    for (std::size_t f = 0; f < files_.size() && !candidates_.empty(); ++f) {
        if (!files_[f].readable()) {
            continue;
        }
        const auto kind = files_[f].kind();
        if (kind == SourceKind::header || kind == SourceKind::implementation) {
            scanSource(f);
        } else {
            scanWords(f);
        }
    }
    keepUndefined();
}

void UnaryNameScan::keepUndefined() {
    for (const auto& [name, file] : declaredIn_) {
        if (!defined_.contains(name)) {
            note(name, ProtectionReason::Kind::definedNowhere, file);
        }
    }
}

// Every identifier a candidate spells must be a keyword or a name of a recorded selector use:
// its own, which the rename follows, or another selector's, which it leaves alone.
void UnaryNameScan::scanSource(std::size_t file) {
    const auto& facts = index_.factsOf(file);
    for (const auto& use : facts.uses) {
        if (!candidates_.contains(use.selector)) {
            continue;
        }
        if (use.kind == objc::UseKind::definition) {
            defined_.insert(use.selector);
        } else if (use.kind == objc::UseKind::declaration) {
            declaredIn_.try_emplace(use.selector, file);
        }
    }
    std::unordered_set<std::uint32_t> followed;
    for (const auto& span : facts.spans) {
        followed.insert(span.offset);
    }
    const std::string_view text = files_[file].text();
    const auto lexed = objc::lex(text, dialectOf(files_[file].inFile()));
    for (const auto& token : lexed.tokens) {
        const auto spelled = token.in(text);
        if (token.kind == objc::TokenKind::identifier) {
            if (candidates_.contains(spelled) && !followed.contains(token.offset)) {
                note(spelled, ProtectionReason::Kind::otherName, file);
            }
        } else if (token.kind == objc::TokenKind::string) {
            const auto content = contentOf(spelled);
            if (content.empty()) {
                continue;
            }
            for (const auto part : text::splitViews(content, '.')) {
                if (candidates_.contains(part)) {
                    note(part, ProtectionReason::Kind::keyString, file);
                }
            }
        }
    }
}

// Files that are never rewritten: any whole word equal to a candidate.
void UnaryNameScan::scanWords(std::size_t file) {
    const std::string_view text = files_[file].text();
    const auto kind = files_[file].kind() == SourceKind::swift ? ProtectionReason::Kind::swiftUse
                                                               : ProtectionReason::Kind::fixedText;
    for (std::size_t i = 0; i < text.size();) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && isWordChar(text[i])) {
            ++i;
        }
        const auto word = text.substr(start, i - start);
        if (candidates_.contains(word)) {
            note(word, kind, file);
        }
    }
}

void UnaryNameScan::note(std::string_view name, ProtectionReason::Kind kind, std::size_t file) {
    reasons_.try_emplace(std::string(name), ProtectionReason{kind, files_[file].inPath()});
}

} // namespace quillet
