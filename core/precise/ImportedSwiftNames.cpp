#include "precise/ImportedSwiftNames.h"

#include <algorithm>
#include <string_view>

#include "swift/SwiftImportNames.h"

namespace quillet {

namespace {

// How far past a declaration's last keyword its trailing attributes are looked for.
constexpr std::size_t longestDeclarationTail = 4096;

// What the parentheses that open at `open` hold: "(NSString *)" -> "NSString *".
std::string_view parenthesised(std::string_view text, std::size_t open) {
    if (open >= text.size() || text[open] != '(') {
        return {};
    }
    std::size_t depth = 0;
    for (auto p = open; p < text.size() && p < open + longestDeclarationTail; ++p) {
        depth += text[p] == '(' ? 1 : 0;
        if (text[p] == ')' && --depth == 0) {
            return text.substr(open + 1, p - open - 1);
        }
    }
    return {};
}

std::size_t skipSpaces(std::string_view text, std::size_t p) {
    while (p < text.size() &&
           (text[p] == ' ' || text[p] == '\t' || text[p] == '\n' || text[p] == '\r')) {
        ++p;
    }
    return p;
}

// The type of the argument after the keyword that ends at `keywordEnd`: "name:(Type *)arg".
std::string_view firstParameterType(std::string_view text, std::size_t keywordEnd) {
    auto p = skipSpaces(text, keywordEnd);
    if (p >= text.size() || text[p] != ':') {
        return {};
    }
    return parenthesised(text, skipSpaces(text, p + 1));
}

// The Swift name in NS_SWIFT_NAME(...) between the declaration's last keyword and its end.
std::string_view swiftNameAttribute(std::string_view text, std::size_t from) {
    static constexpr std::string_view macro = "NS_SWIFT_NAME";
    const auto tail = text.substr(std::min(from, text.size()), longestDeclarationTail);
    const auto end = tail.find_first_of(";{");
    const auto at = tail.substr(0, end).find(macro);
    if (at == std::string_view::npos) {
        return {};
    }
    const auto open = skipSpaces(tail, at + macro.size());
    return parenthesised(tail, open);
}

} // namespace

ImportedSwiftNames::ImportedSwiftNames(const std::vector<SourceFile>& files,
                                       const ProjectIndex& index, const SelectorSet& selectors) {
    for (const auto& selector : selectors) {
        add(selector, swift::importedBaseNames(selector, {}));
    }
    for (std::size_t f = 0; f < files.size(); ++f) {
        if (!files[f].readable() || (files[f].kind() != SourceKind::header &&
                                     files[f].kind() != SourceKind::implementation)) {
            continue;
        }
        const std::string_view text = files[f].text();
        const auto& facts = index.factsOf(f);
        for (const auto& use : facts.uses) {
            if (use.kind != objc::UseKind::declaration || use.spanCount == 0 ||
                !selectors.contains(use.selector)) {
                continue;
            }
            const auto& first = facts.spans[use.firstSpan];
            const auto& last = facts.spans[use.firstSpan + use.spanCount - 1];
            add(use.selector,
                swift::importedBaseNames(use.selector,
                                         firstParameterType(text, first.offset + first.length)));
            const auto swiftName = swiftNameAttribute(text, last.offset + last.length);
            if (auto base = swift::baseOfSwiftName(swiftName); !base.empty()) {
                add(use.selector, {std::move(base)});
            }
        }
    }
}

void ImportedSwiftNames::add(const std::string& selector, std::vector<std::string> names) {
    auto& known = names_[selector];
    for (auto& name : names) {
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            known.push_back(std::move(name));
        }
    }
}

const std::vector<std::string>& ImportedSwiftNames::of(const std::string& selector) const {
    static const std::vector<std::string> none;
    const auto it = names_.find(selector);
    return it == names_.end() ? none : it->second;
}

} // namespace quillet
