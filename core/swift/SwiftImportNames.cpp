#include "swift/SwiftImportNames.h"

#include <algorithm>
#include <array>

#include "swift/SwiftCharacters.h"

namespace quillet::swift {

namespace {

// The words before which the importer may split a method's first keyword into a base name and
// a first argument label, generously taken.
constexpr std::array<std::string_view, 47> prepositions = {
    "above",  "after",   "against",  "along",   "alongside", "around",  "as",        "at",
    "before", "behind",  "below",    "beneath", "beside",    "between", "beyond",    "by",
    "during", "except",  "for",      "from",    "given",     "in",      "including", "inside",
    "into",   "like",    "matching", "near",    "of",        "off",     "on",        "onto",
    "over",   "passing", "since",    "through", "to",        "toward",  "towards",   "under",
    "until",  "upon",    "using",    "via",     "with",      "within",  "without"};

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

// Where the words of a camel-cased name start after the first: "URLForKey" -> 3, 6.
std::vector<std::size_t> wordStarts(std::string_view name) {
    std::vector<std::size_t> starts;
    for (std::size_t p = 1; p < name.size(); ++p) {
        if (isUpper(name[p]) &&
            (!isUpper(name[p - 1]) || (p + 1 < name.size() && isLower(name[p + 1])))) {
            starts.push_back(p);
        }
    }
    return starts;
}

bool startsWithPreposition(std::string_view rest) {
    const auto starts = wordStarts(rest);
    const auto word = rest.substr(0, starts.empty() ? rest.size() : starts.front());
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return isUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; });
    return std::find(prepositions.begin(), prepositions.end(), lower) != prepositions.end();
}

// The class or type name of a parameter type: "nullable NSArray<Foo *> *" -> "NSArray";
// "id" and "id<Proto>" -> "Object", as the importer reads them.
std::string typeNameOf(std::string_view type) {
    static constexpr std::array<std::string_view, 14> qualifiers = {"const",
                                                                    "nullable",
                                                                    "nonnull",
                                                                    "_Nullable",
                                                                    "_Nonnull",
                                                                    "__nullable",
                                                                    "__nonnull",
                                                                    "__kindof",
                                                                    "__strong",
                                                                    "__weak",
                                                                    "__unsafe_unretained",
                                                                    "_Null_unspecified",
                                                                    "null_unspecified",
                                                                    "struct"};
    std::size_t depth = 0;
    for (std::size_t p = 0; p < type.size();) {
        const char c = type[p];
        depth += c == '<' ? 1 : 0;
        if (c == '>' && depth > 0) {
            --depth;
        }
        if (depth > 0 || !isNameStart(c)) {
            ++p;
            continue;
        }
        auto end = p;
        while (end < type.size() && isNamePart(type[end])) {
            ++end;
        }
        const auto word = type.substr(p, end - p);
        if (std::find(qualifiers.begin(), qualifiers.end(), word) == qualifiers.end()) {
            return word == "id" ? "Object" : std::string(word);
        }
        p = end;
    }
    return {};
}

// Whether `rest` is the type name or its last words: "Item" for "XYItem", "Object" for "id".
bool namesType(std::string_view rest, std::string_view typeName) {
    if (typeName.empty() || !typeName.ends_with(rest)) {
        return false;
    }
    const auto at = typeName.size() - rest.size();
    const auto starts = wordStarts(typeName);
    return at == 0 || std::find(starts.begin(), starts.end(), at) != starts.end();
}

// Swift lower-cases the leading capitals of a base name: "URL" -> "url".
std::string lowerLeadingCapitals(std::string_view name) {
    std::string lowered(name);
    for (std::size_t p = 0; p < lowered.size() && isUpper(lowered[p]); ++p) {
        if (p > 0 && p + 1 < lowered.size() && isLower(lowered[p + 1])) {
            break; // the capital that starts the next word stays
        }
        lowered[p] = static_cast<char>(lowered[p] - 'A' + 'a');
    }
    return lowered;
}

void addName(std::vector<std::string>& names, std::string_view name) {
    for (const auto& form : {std::string(name), lowerLeadingCapitals(name)}) {
        if (!form.empty() && std::find(names.begin(), names.end(), form) == names.end()) {
            names.push_back(form);
        }
    }
}

} // namespace

std::vector<std::string> importedBaseNames(std::string_view selector,
                                           std::string_view firstParameterType) {
    const auto first = selector.substr(0, selector.find(':'));
    std::vector<std::string> names;
    addName(names, first);
    const auto typeName = typeNameOf(firstParameterType);
    for (const auto start : wordStarts(first)) {
        const auto rest = first.substr(start);
        if (startsWithPreposition(rest) || namesType(rest, typeName)) {
            addName(names, first.substr(0, start));
        }
    }
    return names;
}

std::string baseOfSwiftName(std::string_view swiftName) {
    auto base = swiftName.substr(0, swiftName.find('('));
    if (const auto dot = base.rfind('.'); dot != std::string_view::npos) {
        base = base.substr(dot + 1);
    }
    while (!base.empty() && isSpace(base.front())) {
        base.remove_prefix(1);
    }
    while (!base.empty() && isSpace(base.back())) {
        base.remove_suffix(1);
    }
    return std::string(base);
}

} // namespace quillet::swift
