#include "precise/ProtectionRules.h"

#include "precise/RuntimeSelectors.h"

namespace quillet {

namespace {

using objc::Container;
using objc::UseKind;

constexpr int longestSuperclassChain = 256;

} // namespace

ProtectionRules::ProtectionRules(const std::vector<SourceFile>& files, const ProjectIndex& index,
                                 const std::vector<bool>& ownHeader, const ProtectionInputs& inputs,
                                 const SelectorSet& candidates)
    : files_(files), index_(index), inputs_(inputs), candidates_(candidates) {
    noteForeignDeclarations(ownHeader);
    noteUntouchableFiles();
    noteFixedTexts();
    noteSuperCalls();
}

std::optional<ProtectionReason> ProtectionRules::reasonFor(const std::string& selector) const {
    if (inputs_.sdk && inputs_.sdk->contains(selector)) {
        return ProtectionReason{ProtectionReason::Kind::sdk, {}};
    }
    if (isCalledByRuntime(selector)) {
        return ProtectionReason{ProtectionReason::Kind::runtime, {}};
    }
    if (const auto it = found_.find(selector); it != found_.end()) {
        return it->second;
    }
    if (inputs_.userList.contains(selector)) {
        return ProtectionReason{ProtectionReason::Kind::userList, {}};
    }
    return std::nullopt;
}

void ProtectionRules::note(const std::string& selector, ProtectionReason::Kind kind,
                           std::string detail) {
    if (candidates_.contains(selector)) {
        found_.try_emplace(selector, ProtectionReason{kind, std::move(detail)});
    }
}

// Headers without an implementation beside them, and ignored headers, belong to code the
// project does not own: what they declare is someone else's name.
void ProtectionRules::noteForeignDeclarations(const std::vector<bool>& ownHeader) {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        if (!files_[f].isHeader() || ownHeader[f]) {
            continue;
        }
        for (const auto& use : index_.factsOf(f).uses) {
            if (use.kind == UseKind::declaration) {
                note(use.selector, ProtectionReason::Kind::foreignHeader, files_[f].inFile());
            }
        }
    }
}

// A file that is never rewritten keeps using the old names, so they must stay.
void ProtectionRules::noteUntouchableFiles() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& file = files_[f];
        if (!file.ignored() && index_.parsed(f)) {
            continue;
        }
        const auto& problems = index_.factsOf(f).problems;
        const auto kind = file.ignored() ? ProtectionReason::Kind::ignoredFile
                                         : ProtectionReason::Kind::unparsedFile;
        const std::string detail =
            file.ignored() || problems.empty()
                ? file.inPath()
                : file.inPath() + ", which is left as it is (" + problems.front() + ")";
        for (const auto& use : index_.factsOf(f).uses) {
            note(use.selector, kind, detail);
        }
    }
}

// A selector written where it cannot be rewritten exactly (a compiled nib, a binary property
// list, text that is not known to be an action) must keep its name everywhere.
void ProtectionRules::noteFixedTexts() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (const auto& use : index_.factsOf(f).uses) {
            if (use.kind == UseKind::fixedText) {
                note(use.selector, ProtectionReason::Kind::fixedText, files_[f].inPath());
            }
        }
    }
}

void ProtectionRules::noteSuperCalls() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        if (files_[f].ignored() || !index_.parsed(f)) {
            continue;
        }
        const auto& facts = index_.factsOf(f);
        for (const auto& container : facts.containers) {
            if (container.kind == Container::Kind::protocol) {
                continue;
            }
            if (!container.category) {
                definedClasses_.insert(container.name);
                if (!container.superclass.empty()) {
                    superclassOf_.try_emplace(container.name, container.superclass);
                }
            }
        }
        for (const auto& use : facts.uses) {
            if (use.kind == UseKind::definition && use.container >= 0) {
                definedMethods_.insert(facts.containers[use.container].name + " " + use.selector);
            }
        }
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        if (files_[f].ignored() || !index_.parsed(f)) {
            continue;
        }
        const auto& facts = index_.factsOf(f);
        for (const auto& use : facts.uses) {
            if (use.kind != UseKind::superSend || !candidates_.contains(use.selector)) {
                continue;
            }
            const std::string className =
                use.container >= 0 ? facts.containers[use.container].name : std::string();
            if (auto foreign = superReachesForeignClass(className, use.selector)) {
                note(use.selector, ProtectionReason::Kind::superCall, std::move(*foreign));
            }
        }
    }
}

// Follows the superclasses of `className` until one of the project's classes defines
// `selector` (nothing: the call stays inside the project) or a class the project does not
// define is reached (the text that says so).
std::optional<std::string>
ProtectionRules::superReachesForeignClass(const std::string& className,
                                          const std::string& selector) const {
    const std::string where = className.empty() ? "a function" : className;
    if (!definedClasses_.contains(className)) {
        return where + ", which is not one of the project's classes";
    }
    std::string current = className;
    for (int depth = 0; depth < longestSuperclassChain; ++depth) {
        const auto up = superclassOf_.find(current);
        if (up == superclassOf_.end()) {
            return where + ", whose superclass is not known";
        }
        current = up->second;
        if (!definedClasses_.contains(current)) {
            return where + ", which inherits it from " + current;
        }
        if (definedMethods_.contains(current + " " + selector)) {
            return std::nullopt;
        }
    }
    return where + ", whose superclasses form a loop";
}

} // namespace quillet
