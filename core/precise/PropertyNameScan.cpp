#include "precise/PropertyNameScan.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "concurrency/ParallelFor.h"
#include "objc/Lexer.h"
#include "precise/CodeTokens.h"
#include "precise/RuntimeSelectors.h"
#include "precise/WordRuns.h"
#include "precise/XmlReader.h"

namespace quillet {

namespace {

constexpr unsigned scanThreads = 4;

using objc::Token;
using objc::TokenKind;
using Form = PropertyNameSpot::Form;
using Kind = ProtectionReason::Kind;

// Messages whose key argument always names a property of an object: observing, sorting,
// binding.
constexpr std::string_view observingSelectors[] = {
    "addObserver:forKeyPath:options:context:",
    "removeObserver:forKeyPath:",
    "removeObserver:forKeyPath:context:",
    "sortDescriptorWithKey:ascending:",
    "sortDescriptorWithKey:ascending:selector:",
    "sortDescriptorWithKey:ascending:comparator:",
    "initWithKey:ascending:",
    "initWithKey:ascending:selector:",
    "initWithKey:ascending:comparator:",
    "bind:toObject:withKeyPath:options:",
};
// Key-value coding messages: a key of self is one of its properties, while any other receiver
// may be a dictionary, whose keys are data.
constexpr std::string_view selfKeySelectors[] = {
    "valueForKey:",
    "valueForKeyPath:",
    "setValue:forKey:",
    "setValue:forKeyPath:",
    "mutableArrayValueForKey:",
    "mutableSetValueForKey:",
    "mutableOrderedSetValueForKey:",
    "willChangeValueForKey:",
    "didChangeValueForKey:",
};
// The keywords whose argument is the key itself.
constexpr std::string_view keyKeywords[] = {
    "forKey",
    "forKeyPath",
    "valueForKey",
    "valueForKeyPath",
    "withKeyPath",
    "sortDescriptorWithKey",
    "initWithKey",
    "willChangeValueForKey",
    "didChangeValueForKey",
    "mutableArrayValueForKey",
    "mutableSetValueForKey",
    "mutableOrderedSetValueForKey",
    "isEqualToString",
};
// Calls that read a class's properties by their names at run time.
constexpr std::string_view reflectionWords[] = {
    "class_copyPropertyList",
    "property_getName",
    "class_copyIvarList",
    "ivar_getName",
    "setValuesForKeysWithDictionary",
    "dictionaryWithValuesForKeys",
};
// Interface file elements whose "property" attribute is an outlet's name.
constexpr std::string_view outletElements[] = {"outlet", "outletCollection"};
// Core Data model elements whose "name" is stored and read by name.
constexpr std::string_view modelProperties[] = {"attribute", "relationship", "fetchedProperty"};

bool contains(std::span<const std::string_view> words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Mapping libraries' messages, which read the receiver class's properties by name.
bool isMapperMessage(std::string_view word) {
    return word.starts_with("mj_") || word.starts_with("yy_model");
}

// Whether a key string at `i` (a whole argument) is one a rename follows.
bool followsKey(const CodeTokens& tokens, std::size_t i) {
    if (tokens.inCallOf(i, printFunctions)) {
        return true;
    }
    const std::size_t message = tokens.messageAround(i);
    const std::size_t parenthesis = tokens.parenthesisAround(i);
    if (message == CodeTokens::none || !tokens.punct(i - 1, ":") ||
        !tokens.identifierAmong(i - 2, keyKeywords) ||
        (parenthesis != CodeTokens::none && parenthesis > message)) {
        return false; // not the key itself, or inside an expression of its own
    }
    const std::string selector = tokens.selectorOf(message);
    if (contains(observingSelectors, selector)) {
        return true;
    }
    if (tokens.identifier(message + 1, "self") && contains(selfKeySelectors, selector)) {
        return true;
    }
    // - observeValueForKeyPath:... compares the key path it is told of.
    return selector == "isEqualToString:" &&
           (tokens.identifier(message + 1, "keyPath") || tokens.identifier(message + 1, "key"));
}

// Whether the "-" or "+" at `i` starts a method's signature: first on its line.
bool startsSignature(const CodeTokens& tokens, std::string_view text, std::size_t i) {
    if (!tokens.punct(i, "-") && !tokens.punct(i, "+")) {
        return false;
    }
    const auto lineStart = text.rfind('\n', tokens[i].offset);
    const auto before =
        text.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1,
                    tokens[i].offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1));
    return before.find_first_not_of(" \t") == std::string_view::npos;
}

// Whether the identifier at `i`, followed by a colon, is the then-part of a conditional
// expression ("flag ? title : nil", "flag ? self.title : nil") rather than a keyword.
bool endsConditionalBranch(const CodeTokens& tokens, std::size_t i) {
    for (std::size_t back = 1; back <= 6 && back <= i; ++back) {
        const std::size_t k = i - back;
        if (tokens.punct(k, "?")) {
            return true;
        }
        if (!tokens.identifier(k) && !tokens.punct(k, ".") && !tokens.punct(k, "->")) {
            return false;
        }
    }
    return false;
}

} // namespace

PropertyNameScan::PropertyNameScan(const std::vector<SourceFile>& files, const ProjectIndex& index,
                                   const std::vector<Candidate>& candidates)
    : files_(files), index_(index), facts_(files.size()) {
    for (std::uint32_t n = 0; n < candidates.size(); ++n) {
        const std::string& name = candidates[n].name;
        matches_.try_emplace(name, Match{n, Form::name});
        matches_.try_emplace("_" + name, Match{n, Form::instanceVariable});
        if (candidates[n].setterFollows && !name.empty()) {
            matches_.try_emplace(setterKeyword(name), Match{n, Form::setter});
        }
    }
    parallelFor(files.size(), scanThreads, [&](std::size_t f) { facts_[f] = scanFile(f); });
}

const PropertyNameScan::Match* PropertyNameScan::match(std::string_view word) const {
    const auto it = matches_.find(word);
    return it == matches_.end() ? nullptr : &it->second;
}

PropertyNameFacts PropertyNameScan::scanFile(std::size_t f) const {
    PropertyNameFacts facts;
    const SourceFile& file = files_[f];
    if (!file.readable()) {
        return facts;
    }
    const std::string& path = file.inPath();
    switch (file.kind()) {
    case SourceKind::swift:
        scanWords(file, {Kind::swiftUse, path}, facts);
        break;
    case SourceKind::interfaceFile:
        if (file.binary()) {
            scanWords(file, {Kind::fixedText, path}, facts);
        } else {
            scanXml(file, facts);
        }
        break;
    case SourceKind::header:
    case SourceKind::implementation:
        if (file.binary() || file.encodingUnsure()) {
            scanWords(file, {Kind::unparsedFile, path}, facts);
        } else {
            scanCode(file, !file.ignored() && index_.parsed(f), facts);
        }
        break;
    case SourceKind::other:
        break;
    }
    return facts;
}

void PropertyNameScan::scanCode(const SourceFile& file, bool rewritten,
                                PropertyNameFacts& facts) const {
    const std::string& text = file.text();
    const auto lexed = objc::lex(text, dialectOf(file.inFile()));
    const CodeTokens tokens(text, lexed.tokens);
    const ProtectionReason notRewritten{file.ignored() ? Kind::ignoredFile : Kind::unparsedFile,
                                        file.inPath()};
    const ProtectionReason keyString{Kind::keyString, file.inPath()};
    std::string implementation; // the class whose @implementation the scan is in
    bool inBlock = false;       // between @interface, @implementation or @protocol and @end
    bool inSignature = false;   // from a method's "-" or "+" to its "{" or ";"
    for (std::size_t i = 0; i < tokens.count(); ++i) {
        const Token& token = tokens[i];
        const std::string_view word = tokens.textOf(i);
        if (token.kind == TokenKind::atKeyword) {
            inBlock = word != "@end" && (inBlock || word == "@interface" ||
                                         word == "@implementation" || word == "@protocol");
            implementation = word == "@implementation" && tokens.identifier(i + 1)
                                 ? std::string(tokens.textOf(i + 1))
                             : word == "@end" ? std::string()
                                              : implementation;
            continue;
        }
        if (token.kind == TokenKind::punctuator) {
            if (inBlock && startsSignature(tokens, text, i)) {
                inSignature = true;
            } else if (word == "{" || word == ";") {
                inSignature = false;
            }
            continue;
        }
        if (token.kind == TokenKind::string) {
            const auto [start, length] = tokens.contentOf(i);
            keyPath(std::string_view(text).substr(start, length), start,
                    rewritten && followsKey(tokens, i), rewritten ? keyString : notRewritten,
                    facts);
            continue;
        }
        if (token.kind != TokenKind::identifier) {
            continue;
        }
        if (!file.ignored()) {
            if (contains(reflectionWords, word)) {
                if (implementation.empty() || implementation == "NSObject") {
                    facts.mapsAnyClass = true;
                } else {
                    facts.mappedClasses.push_back(implementation);
                }
            } else if (isMapperMessage(word)) {
                const std::size_t message = tokens.messageAround(i);
                const auto receiver = tokens.textOf(message + 1);
                if (message != CodeTokens::none && message + 2 == i && !receiver.empty() &&
                    std::isupper(static_cast<unsigned char>(receiver[0]))) {
                    facts.mappedClasses.emplace_back(receiver);
                } else {
                    facts.mapsAnyClass = true;
                }
            }
        }
        const Match* found = match(word);
        if (found == nullptr) {
            continue;
        }
        if (!rewritten) {
            facts.keeps.emplace_back(found->name, notRewritten);
            continue;
        }
        const bool member = tokens.punct(i - 1, ".") || tokens.punct(i - 1, "->");
        if (tokens.punct(i - 1, "##") || tokens.punct(i - 1, "#") || tokens.punct(i + 1, "##")) {
            facts.keeps.emplace_back(found->name,
                                     ProtectionReason{Kind::macroFormed, file.inPath()});
            continue;
        }
        if (found->form == Form::name) {
            const std::size_t message = tokens.messageAround(i);
            const bool inMessage =
                message != CodeTokens::none && (tokens.parenthesisAround(i) == CodeTokens::none ||
                                                tokens.parenthesisAround(i) < message);
            const std::size_t parenthesis = tokens.parenthesisAround(i);
            const bool inSelector = parenthesis != CodeTokens::none && parenthesis > 0 &&
                                    tokens.textOf(parenthesis - 1) == "@selector";
            if (tokens.punct(i + 1, ":") && (inMessage || inSelector || inSignature) &&
                !endsConditionalBranch(tokens, i)) {
                continue; // a keyword of another selector ("showWith:title:")
            }
            if (!member && !inSignature &&
                (tokens.punct(i + 1, "(") || tokens.punct(i + 1, "::"))) {
                facts.keeps.emplace_back(
                    found->name,
                    ProtectionReason{Kind::sharedName, "a function or macro in " + file.inPath()});
                continue;
            }
        }
        facts.spots.push_back({token.offset, token.length, found->name, found->form});
    }
}

void PropertyNameScan::keyPath(std::string_view path, std::size_t offset, bool followed,
                               const ProtectionReason& reason, PropertyNameFacts& facts) const {
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto dot = std::min(path.find('.', start), path.size());
        const Match* found = match(path.substr(start, dot - start));
        if (found != nullptr && found->form == Form::name && followed) {
            facts.spots.push_back({static_cast<std::uint32_t>(offset + start),
                                   static_cast<std::uint32_t>(dot - start), found->name,
                                   Form::name});
        } else if (found != nullptr) {
            facts.keeps.emplace_back(found->name, reason);
        }
        start = dot + 1;
    }
}

void PropertyNameScan::scanXml(const SourceFile& file, PropertyNameFacts& facts) const {
    const std::string& text = file.text();
    const std::string_view root = XmlReader::rootName(text);
    if (root != "document" && root != "model" && root != "plist") {
        scanWords(file, {Kind::fixedText, file.inPath()}, facts);
        return;
    }
    const ProtectionReason named{file.ignored() ? Kind::ignoredFile : Kind::keyString,
                                 file.inPath()};
    const ProtectionReason stored{Kind::resourceName, "a Core Data attribute in " + file.inPath()};
    XmlReader reader(text);
    for (auto event = reader.next(); event != XmlReader::Event::end; event = reader.next()) {
        if (event == XmlReader::Event::malformed) {
            facts = {};
            scanWords(file, {Kind::fixedText, file.inPath()}, facts);
            return;
        }
        if (event == XmlReader::Event::endTag) {
            if (reader.leaf()) {
                keyPath(reader.content(), reader.contentOffset(), false, named, facts);
            }
            continue;
        }
        for (const auto& attribute : reader.attributes()) {
            if (root == "document" && attribute.name == "keyPath") {
                keyPath(attribute.value, attribute.valueOffset, !file.ignored(), named, facts);
            } else if (root == "document" && attribute.name == "property" &&
                       contains(outletElements, reader.name())) {
                if (const Match* found = match(attribute.value);
                    found != nullptr && found->form == Form::name && !file.ignored()) {
                    facts.spots.push_back({static_cast<std::uint32_t>(attribute.valueOffset),
                                           static_cast<std::uint32_t>(attribute.value.size()),
                                           found->name, Form::name});
                }
            } else if (attribute.name == "key" || (root == "model" && attribute.name == "name" &&
                                                   contains(modelProperties, reader.name()))) {
                if (const Match* found = match(attribute.value)) {
                    facts.keeps.emplace_back(found->name, root == "model" ? stored : named);
                }
            }
        }
    }
}

void PropertyNameScan::scanWords(const SourceFile& file, ProtectionReason reason,
                                 PropertyNameFacts& facts) const {
    forEachWord(file.text(), [&](std::string_view word) {
        if (const Match* found = match(word)) {
            facts.keeps.emplace_back(found->name, reason);
        }
    });
}

} // namespace quillet
