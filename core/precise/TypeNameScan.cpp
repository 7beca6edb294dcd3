#include "precise/TypeNameScan.h"

#include <algorithm>
#include <span>

#include "concurrency/ParallelFor.h"
#include "objc/Lexer.h"
#include "precise/CodeTokens.h"
#include "precise/WordRuns.h"
#include "precise/XmlReader.h"

namespace quillet {

namespace {

constexpr unsigned scanThreads = 4;

using objc::Token;
using objc::TokenKind;

// Functions that take a class's or protocol's name as a string and look it up at run time.
constexpr std::string_view lookUpFunctions[] = {
    "NSClassFromString", "NSProtocolFromString", "objc_getClass",
    "objc_lookUpClass",  "objc_getMetaClass",    "objc_getProtocol",
};
// What turns a class or protocol into its name, for a string compared with it.
constexpr std::string_view nameFunctions[] = {"NSStringFromClass", "NSStringFromProtocol"};
// Property list keys whose value is the name of a class the system creates.
constexpr std::string_view classKeys[] = {
    "NSPrincipalClass", "NSExtensionPrincipalClass", "UISceneDelegateClassName",
    "UISceneClassName", "NSDocumentClass",
};
// Core Data calls that find an entity by its name.
constexpr std::string_view entityLookUps[] = {
    "entityForName",
    "insertNewObjectForEntityForName",
    "fetchRequestWithEntityName",
    "initWithEntityName",
};

bool isOneOf(std::string_view word, std::span<const std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// The string at `i` is what a lookup by name takes, what a class's name is compared with, or
// only printed: NSClassFromString(@"Foo"), [NSStringFromClass(c) isEqualToString:@"Foo"],
// [@"Foo" isEqualToString:NSStringFromClass(c)], NSLog(@"%@", @"Foo").
bool namesTypeAt(const CodeTokens& tokens, std::size_t i) {
    if (tokens.inCallOf(i, printFunctions)) {
        return true;
    }
    if (tokens.inCallOf(i, lookUpFunctions) && tokens.punct(i - 1, "(") &&
        tokens.punct(i + 1, ")")) {
        return true;
    }
    if (tokens.identifier(i + 1, "isEqualToString") && tokens.punct(i + 2, ":") &&
        tokens.identifierAmong(i + 3, nameFunctions)) {
        return true;
    }
    const std::size_t message = tokens.messageAround(i);
    if (message != CodeTokens::none && i >= 2 && tokens.punct(i - 1, ":") &&
        tokens.identifier(i - 2, "isEqualToString")) {
        for (std::size_t k = message; k + 2 < i; ++k) {
            if (tokens.identifierAmong(k, nameFunctions)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TypeNameScan::TypeNameScan(const std::vector<SourceFile>& files, const ProjectIndex& index,
                           const std::vector<std::string>& candidates)
    : files_(files), index_(index), facts_(files.size()) {
    for (std::uint32_t i = 0; i < candidates.size(); ++i) {
        candidates_.emplace(candidates[i], i);
    }
    std::vector<SelectorSet> identifiers(files.size());
    parallelFor(files.size(), scanThreads,
                [&](std::size_t f) { facts_[f] = scanFile(f, identifiers[f]); });
    for (auto& words : identifiers) {
        identifiers_.merge(words);
    }
}

const std::uint32_t* TypeNameScan::candidate(std::string_view word) const {
    const auto it = candidates_.find(word);
    return it == candidates_.end() ? nullptr : &it->second;
}

TypeNameFacts TypeNameScan::scanFile(std::size_t f, SelectorSet& identifiers) const {
    TypeNameFacts facts;
    const SourceFile& file = files_[f];
    if (!file.readable()) {
        return facts;
    }
    const std::string& path = file.inPath();
    switch (file.kind()) {
    case SourceKind::swift:
        scanWords(file, {ProtectionReason::Kind::swiftUse, path}, facts, &identifiers);
        break;
    case SourceKind::interfaceFile:
        if (file.binary()) {
            scanWords(file, {ProtectionReason::Kind::fixedText, path}, facts);
        } else {
            scanXml(file, facts);
        }
        break;
    case SourceKind::header:
    case SourceKind::implementation:
        if (file.binary() || file.encodingUnsure()) {
            scanWords(file, {ProtectionReason::Kind::unparsedFile, path}, facts);
        } else {
            scanCode(file, !file.ignored() && index_.parsed(f), facts, identifiers);
        }
        break;
    case SourceKind::other:
        break;
    }
    return facts;
}

void TypeNameScan::scanCode(const SourceFile& file, bool rewritten, TypeNameFacts& facts,
                            SelectorSet& identifiers) const {
    using Kind = ProtectionReason::Kind;
    const std::string& text = file.text();
    const auto lexed = objc::lex(text, dialectOf(file.inFile()));
    const CodeTokens tokens(text, lexed.tokens);
    const ProtectionReason notRewritten{file.ignored() ? Kind::ignoredFile : Kind::unparsedFile,
                                        file.inPath()};
    bool namesClasses = false;
    bool looksUpEntities = false;
    for (std::size_t i = 0; i < tokens.count(); ++i) {
        const Token& token = tokens[i];
        if (token.kind == TokenKind::string) {
            const auto [start, length] = tokens.contentOf(i);
            const auto* name = candidate(std::string_view(text).substr(start, length));
            if (name == nullptr) {
                continue;
            }
            if (!rewritten) {
                facts.keeps.emplace_back(*name, notRewritten);
            } else if (namesTypeAt(tokens, i)) {
                facts.spots.push_back({start, length, *name});
            } else {
                facts.keeps.emplace_back(*name, ProtectionReason{Kind::typeString, file.inPath()});
            }
            continue;
        }
        if (token.kind != TokenKind::identifier) {
            continue;
        }
        const std::string_view word = tokens.textOf(i);
        identifiers.emplace(word);
        namesClasses = namesClasses || isOneOf(word, nameFunctions);
        looksUpEntities = looksUpEntities || isOneOf(word, entityLookUps);
        const auto* name = candidate(word);
        if (name == nullptr) {
            continue;
        }
        if (!rewritten) {
            facts.keeps.emplace_back(*name, notRewritten);
        } else if (tokens.punct(i - 1, ".") || tokens.punct(i - 1, "->")) {
            facts.keeps.emplace_back(*name, ProtectionReason{Kind::otherName, file.inPath()});
        } else if (tokens.punct(i - 1, "##") || tokens.punct(i - 1, "#") ||
                   tokens.punct(i + 1, "##")) {
            facts.keeps.emplace_back(*name, ProtectionReason{Kind::macroFormed, file.inPath()});
        } else {
            facts.spots.push_back({token.offset, token.length, *name});
        }
    }
    facts.derivesEntityNames = namesClasses && looksUpEntities;
}

void TypeNameScan::scanXml(const SourceFile& file, TypeNameFacts& facts) const {
    using Kind = ProtectionReason::Kind;
    const std::string& text = file.text();
    const std::string_view root = XmlReader::rootName(text);
    const bool interfaceDocument = root == "document" || root == "archive";
    if (!interfaceDocument && root != "model" && root != "plist") {
        scanWords(file, {Kind::fixedText, file.inPath()}, facts);
        return;
    }
    const ProtectionReason named{file.ignored() ? Kind::ignoredFile : Kind::typeString,
                                 file.inPath()};
    const auto spotOrKeep = [&](std::string_view value, std::size_t offset, bool followed) {
        if (const auto* name = candidate(value)) {
            if (followed && !file.ignored()) {
                facts.spots.push_back({static_cast<std::uint32_t>(offset),
                                       static_cast<std::uint32_t>(value.size()), *name});
            } else {
                facts.keeps.emplace_back(*name, named);
            }
        }
    };
    XmlReader reader(text);
    std::string lastKey;
    for (auto event = reader.next(); event != XmlReader::Event::end; event = reader.next()) {
        if (event == XmlReader::Event::malformed) {
            facts = {};
            scanWords(file, {Kind::fixedText, file.inPath()}, facts);
            return;
        }
        if (event == XmlReader::Event::startTag) {
            // A custom class with a module is a Swift class, which is not the project's to rename.
            const bool swiftModule = !reader.attribute("customModule").empty() ||
                                     !reader.attribute("customModuleProvider").empty();
            const bool entity = root == "model" && reader.name() == "entity";
            for (const auto& attribute : reader.attributes()) {
                if (entity && attribute.name == "name") {
                    facts.entityNames.emplace_back(attribute.value);
                    continue;
                }
                const bool followed =
                    (interfaceDocument && attribute.name == "customClass" && !swiftModule) ||
                    (entity && attribute.name == "representedClassName");
                spotOrKeep(attribute.value, attribute.valueOffset, followed);
            }
            continue;
        }
        if (!reader.leaf()) {
            continue;
        }
        const bool classValue = root == "plist" && reader.name() == "string" &&
                                isOneOf(std::string_view(lastKey), classKeys);
        spotOrKeep(reader.content(), reader.contentOffset(), classValue);
        if (reader.name() == "key") {
            lastKey = XmlReader::decoded(reader.content());
        }
    }
}

void TypeNameScan::scanWords(const SourceFile& file, ProtectionReason reason, TypeNameFacts& facts,
                             SelectorSet* words) const {
    forEachWord(file.text(), [&](std::string_view word) {
        if (words != nullptr) {
            words->emplace(word);
        }
        if (const auto* name = candidate(word)) {
            facts.keeps.emplace_back(*name, reason);
        }
    });
}

} // namespace quillet
