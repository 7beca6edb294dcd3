#include "precise/TypeNameScan.h"

#include <algorithm>
#include <array>

#include "concurrency/ParallelFor.h"
#include "objc/Lexer.h"
#include "precise/XmlReader.h"

namespace quillet {

namespace {

constexpr unsigned scanThreads = 4;

using objc::Token;
using objc::TokenKind;

// Functions that take a class's or protocol's name as a string and look it up at run time.
constexpr std::array lookUpFunctions = {
    std::string_view("NSClassFromString"), std::string_view("NSProtocolFromString"),
    std::string_view("objc_getClass"),     std::string_view("objc_lookUpClass"),
    std::string_view("objc_getMetaClass"), std::string_view("objc_getProtocol"),
};
// What turns a class or protocol into its name, for a string compared with it.
constexpr std::array nameFunctions = {std::string_view("NSStringFromClass"),
                                      std::string_view("NSStringFromProtocol")};
// Functions that only print their arguments: a class's name there is text for a person, which
// may as well say the new name.
constexpr std::array printFunctions = {
    std::string_view("NSLog"),     std::string_view("NSLogv"),       std::string_view("printf"),
    std::string_view("fprintf"),   std::string_view("NSAssert"),     std::string_view("NSCAssert"),
    std::string_view("DDLogInfo"), std::string_view("DDLogDebug"),   std::string_view("DDLogError"),
    std::string_view("DDLogWarn"), std::string_view("DDLogVerbose"),
};
// Property list keys whose value is the name of a class the system creates.
constexpr std::array classKeys = {
    std::string_view("NSPrincipalClass"),         std::string_view("NSExtensionPrincipalClass"),
    std::string_view("UISceneDelegateClassName"), std::string_view("UISceneClassName"),
    std::string_view("NSDocumentClass"),
};
// Core Data calls that find an entity by its name.
constexpr std::array entityLookUps = {
    std::string_view("entityForName"),
    std::string_view("insertNewObjectForEntityForName"),
    std::string_view("fetchRequestWithEntityName"),
    std::string_view("initWithEntityName"),
};

template <std::size_t N>
bool isOneOf(std::string_view word, const std::array<std::string_view, N>& words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

bool isWordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
}

// The characters between the quotes of a string literal: @"Foo", "Foo", L"Foo".
std::pair<std::uint32_t, std::uint32_t> contentOf(std::string_view literal) {
    const auto open = literal.find('"');
    const auto close = literal.rfind('"');
    if (open == std::string_view::npos || close <= open) {
        return {0, 0};
    }
    return {static_cast<std::uint32_t>(open + 1), static_cast<std::uint32_t>(close - open - 1)};
}

// The tokens of one source, with the questions the scan asks of them.
class CodeTokens {
public:
    CodeTokens(std::string_view text, const std::vector<Token>& tokens)
        : text_(text), tokens_(tokens) {}

    std::string_view textOf(std::size_t i) const {
        return i < tokens_.size() ? tokens_[i].in(text_) : std::string_view();
    }
    bool punct(std::size_t i, std::string_view p) const {
        return i < tokens_.size() && tokens_[i].kind == TokenKind::punctuator && textOf(i) == p;
    }
    bool identifier(std::size_t i, std::string_view word) const {
        return i < tokens_.size() && tokens_[i].kind == TokenKind::identifier && textOf(i) == word;
    }
    template <std::size_t N>
    bool identifierAmong(std::size_t i, const std::array<std::string_view, N>& words) const {
        return i < tokens_.size() && tokens_[i].kind == TokenKind::identifier &&
               isOneOf(textOf(i), words);
    }

    // The string at `i` is what a lookup by name takes, what a class's name is compared with,
    // or only printed: NSClassFromString(@"Foo"), [NSStringFromClass(c) isEqualToString:@"Foo"],
    // [@"Foo" isEqualToString:NSStringFromClass(c)], NSLog(@"%@", @"Foo"). `message` is where
    // the innermost message around it starts, `call` the innermost parenthesis.
    bool namesTypeAt(std::size_t i, std::size_t message, std::size_t call) const {
        if (call > 0 && call < i && identifierAmong(call - 1, printFunctions)) {
            return true;
        }
        if (i >= 2 && punct(i - 1, "(") && identifierAmong(i - 2, lookUpFunctions) &&
            punct(i + 1, ")")) {
            return true;
        }
        if (identifier(i + 1, "isEqualToString") && punct(i + 2, ":") &&
            identifierAmong(i + 3, nameFunctions)) {
            return true;
        }
        if (i >= 2 && punct(i - 1, ":") && identifier(i - 2, "isEqualToString")) {
            for (std::size_t k = message; k + 2 < i; ++k) {
                if (identifierAmong(k, nameFunctions)) {
                    return true;
                }
            }
        }
        return false;
    }

private:
    std::string_view text_;
    const std::vector<Token>& tokens_;
};

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
    std::vector<std::size_t> messages; // where each open "[" is
    std::vector<std::size_t> calls;    // where each open "(" is
    for (std::size_t i = 0; i < lexed.tokens.size(); ++i) {
        const Token& token = lexed.tokens[i];
        const std::string_view word = token.in(text);
        if (token.kind == TokenKind::punctuator) {
            if (word == "[") {
                messages.push_back(i);
            } else if (word == "]" && !messages.empty()) {
                messages.pop_back();
            } else if (word == "(") {
                calls.push_back(i);
            } else if (word == ")" && !calls.empty()) {
                calls.pop_back();
            }
            continue;
        }
        if (token.kind == TokenKind::string) {
            const auto [start, length] = contentOf(word);
            const auto* name = candidate(word.substr(start, length));
            if (name == nullptr) {
                continue;
            }
            if (!rewritten) {
                facts.keeps.emplace_back(*name, notRewritten);
            } else if (tokens.namesTypeAt(i, messages.empty() ? 0 : messages.back(),
                                          calls.empty() ? 0 : calls.back())) {
                facts.spots.push_back({token.offset + start, length, *name});
            } else {
                facts.keeps.emplace_back(*name, ProtectionReason{Kind::typeString, file.inPath()});
            }
            continue;
        }
        if (token.kind != TokenKind::identifier) {
            continue;
        }
        identifiers.emplace(word);
        namesClasses = namesClasses || isOneOf(word, nameFunctions);
        looksUpEntities = looksUpEntities || isOneOf(word, entityLookUps);
        const auto* name = candidate(word);
        if (name == nullptr) {
            continue;
        }
        if (!rewritten) {
            facts.keeps.emplace_back(*name, notRewritten);
        } else if (i > 0 && (tokens.punct(i - 1, ".") || tokens.punct(i - 1, "->"))) {
            facts.keeps.emplace_back(*name, ProtectionReason{Kind::otherName, file.inPath()});
        } else if ((i > 0 && (tokens.punct(i - 1, "##") || tokens.punct(i - 1, "#"))) ||
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
    const std::string& text = file.text();
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isWordCharacter(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && isWordCharacter(text[i])) {
            ++i;
        }
        const std::string_view word = std::string_view(text).substr(start, i - start);
        if (words != nullptr) {
            words->emplace(word);
        }
        if (const auto* name = candidate(word)) {
            facts.keeps.emplace_back(*name, reason);
        }
    }
}

} // namespace quillet
