#include "precise/ProtectionRules.h"

#include <algorithm>

#include "precise/ImportedSwiftNames.h"
#include "precise/RuntimeSelectors.h"
#include "precise/SwiftUsage.h"

namespace quillet {

namespace {

using objc::Container;
using objc::UseKind;

constexpr int longestSuperclassChain = 256;

// Root classes: they call none of their subclasses' methods by name beyond the runtime's own.
bool isRootClass(std::string_view name) {
    return name == "NSObject" || name == "NSProxy";
}

// Whether a use names the selector for someone to call: everything but a declaration or a
// definition.
bool isReference(UseKind kind) {
    return kind != UseKind::declaration && kind != UseKind::definition;
}

} // namespace

ProtectionRules::ProtectionRules(const std::vector<SourceFile>& files, const ProjectIndex& index,
                                 const std::vector<bool>& ownHeader, const ProtectionInputs& inputs,
                                 const SelectorSet& candidates)
    : files_(files), index_(index), inputs_(inputs), candidates_(candidates) {
    noteForeignDeclarations(ownHeader);
    noteUntouchableFiles();
    noteSuperCalls();
    noteSwiftUses();
    noteUsesNoRewriteFollows();
    noteFrameworkImplementations();
    noteKeyValueCodingKeys();
}

std::optional<ProtectionReason> ProtectionRules::reasonFor(const std::string& selector) const {
    if (inputs_.sdk && inputs_.sdk->contains(selector)) {
        return ProtectionReason{ProtectionReason::Kind::sdk, {}};
    }
    if (isCalledByRuntime(selector) || keyValueCodingAccessors_.contains(selector)) {
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
        if (files_[f].kind() != SourceKind::header || ownHeader[f]) {
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

// Key-value coding and Core Data look accessors up by their key: add<Key>Object:,
// insertObject:in<Key>AtIndex: and the like, and Core Data's add<Key>: and remove<Key>: for a
// to-many relationship. Such a name is the runtime's only when <Key> is a property, @dynamic,
// @synthesize or instance variable of the class that declares or defines it, or of one of its
// superclasses; otherwise it is the class's own method (addOrUpdateObject:). A protocol's
// accessor may be any class's, so any class's key counts for it.
void ProtectionRules::noteKeyValueCodingKeys() {
    SelectorSet anyClassKeys;
    for (std::size_t f = 0; f < files_.size(); ++f) {
        for (const auto& container : index_.factsOf(f).containers) {
            if (!container.superclass.empty()) {
                declaredSuperclassOf_.try_emplace(container.name, container.superclass);
            }
            for (const auto& name : container.keys) {
                if (auto key = keyOfName(name); !key.empty()) {
                    keysOf_[container.name].insert(key);
                    anyClassKeys.insert(std::move(key));
                }
            }
        }
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = index_.factsOf(f);
        for (const auto& use : facts.uses) {
            if ((use.kind != UseKind::declaration && use.kind != UseKind::definition) ||
                use.container < 0 || !candidates_.contains(use.selector) ||
                keyValueCodingAccessors_.contains(use.selector)) {
                continue;
            }
            const auto keys = keyValueCodingKeys(use.selector);
            const auto& container = facts.containers[use.container];
            const bool real = container.kind == Container::Kind::protocol
                                  ? std::any_of(keys.begin(), keys.end(),
                                                [&](const std::string& key) {
                                                    return anyClassKeys.contains(key);
                                                })
                                  : classHasKey(container.name, keys);
            if (real) {
                keyValueCodingAccessors_.insert(use.selector);
            }
        }
    }
}

// Whether `className` or one of its superclasses has one of the keys.
bool ProtectionRules::classHasKey(const std::string& className,
                                  const std::vector<std::string>& keys) const {
    std::string current = className;
    for (int depth = 0; depth < longestSuperclassChain && !keys.empty(); ++depth) {
        if (const auto found = keysOf_.find(current); found != keysOf_.end()) {
            for (const auto& key : keys) {
                if (found->second.contains(key)) {
                    return true;
                }
            }
        }
        const auto up = declaredSuperclassOf_.find(current);
        if (up == declaredSuperclassOf_.end()) {
            return false;
        }
        current = up->second;
    }
    return false;
}

// A selector written where no rewrite can follow it keeps its name everywhere: one a macro
// pastes or stringizes, or forms from an argument written elsewhere in its body (a rename could
// change only part of it), one named in a compiled nib, a binary property list or text not
// known to be an action, and a property's name or getter (dot syntax and key-value coding reach
// it by that name).
void ProtectionRules::noteUsesNoRewriteFollows() {
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = index_.factsOf(f);
        for (const auto& use : facts.uses) {
            if (use.kind == UseKind::macroFormed) {
                note(use.selector, ProtectionReason::Kind::macroFormed, files_[f].inPath());
            } else if (use.kind == UseKind::fixedText) {
                note(use.selector, ProtectionReason::Kind::fixedText, files_[f].inPath());
            } else if (use.kind == UseKind::propertyAccessor && use.container >= 0) {
                note(use.selector, ProtectionReason::Kind::propertyName,
                     facts.containers[use.container].name);
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

// Methods whose implementation the project does not hold: one declared for a class the project
// never implements and defined nowhere in it (a framework's private method, declared to call
// it); one with a leading underscore defined in a subclass of a framework class (an override of
// its private method); and an instance method only subclasses of framework classes define and
// nothing in the project refers to (the framework calls it).
void ProtectionRules::noteFrameworkImplementations() {
    text::StringMap<std::vector<std::string>> definersOf; // selector -> classes defining it
    SelectorSet referenced;
    SelectorSet classMethods; // a framework calls a subclass's own class methods by name rarely
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = index_.factsOf(f);
        for (const auto& container : facts.containers) {
            if (container.kind == Container::Kind::implementation && !container.category) {
                implementedClasses_.insert(container.name);
            }
        }
        for (const auto& use : facts.uses) {
            if (use.kind == UseKind::definition && use.container >= 0 &&
                candidates_.contains(use.selector)) {
                definersOf[use.selector].push_back(facts.containers[use.container].name);
                if (use.classMethod) {
                    classMethods.insert(use.selector);
                }
            } else if (isReference(use.kind)) {
                referenced.insert(use.selector);
            }
        }
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = index_.factsOf(f);
        for (const auto& use : facts.uses) {
            if (use.kind != UseKind::declaration || use.container < 0 ||
                definersOf.contains(use.selector)) {
                continue;
            }
            const auto& container = facts.containers[use.container];
            if (container.kind == Container::Kind::interface &&
                !implementedClasses_.contains(container.name)) {
                note(use.selector, ProtectionReason::Kind::implementedOutside, container.name);
            }
        }
    }
    for (const auto& [selector, definers] : definersOf) {
        const bool underscored = selector.starts_with('_');
        if (!underscored && (referenced.contains(selector) || classMethods.contains(selector))) {
            continue;
        }
        std::optional<std::string> detail;
        for (const auto& definer : definers) {
            // A category on a framework class overrides that class's own private method.
            const auto ancestor = !implementedClasses_.contains(definer) && underscored
                                      ? std::optional<std::string>(definer)
                                      : frameworkAncestorOf(definer);
            if (!ancestor || isRootClass(*ancestor)) {
                if (!underscored) {
                    detail.reset(); // a class of the project's own defines it too
                    break;
                }
                continue;
            }
            if (!detail && definer == *ancestor) {
                detail = "a category on " + definer + " replaces it";
            } else if (!detail) {
                detail = definer + (underscored ? " inherits it from " : " overrides it for ") +
                         *ancestor + (underscored ? "" : ", and nothing in the project calls it");
            }
            if (underscored) {
                break;
            }
        }
        if (detail) {
            note(selector, ProtectionReason::Kind::privateFramework, std::move(*detail));
        }
    }
}

// The first superclass of `className` the project does not implement; nothing when the chain
// is not known to its end or loops.
std::optional<std::string>
ProtectionRules::frameworkAncestorOf(const std::string& className) const {
    std::string current = className;
    for (int depth = 0; depth < longestSuperclassChain; ++depth) {
        const auto up = superclassOf_.find(current);
        if (up == superclassOf_.end()) {
            return std::nullopt;
        }
        current = up->second;
        if (!implementedClasses_.contains(current)) {
            return current;
        }
    }
    return std::nullopt;
}

// Swift cannot be rewritten, so whatever Swift code may reach keeps its name: a selector one of
// whose Swift names is written in Swift code, one an @objc(...) attribute or a string gives
// whole, and every
// selector of a protocol a Swift type adopts (the Swift side implements them, optional ones
// too). The first Swift file that does so is named.
void ProtectionRules::noteSwiftUses() {
    const SwiftUsage swift(files_);
    text::StringMap<std::size_t> firstFile;
    const auto reached = [&](const std::string& selector, std::optional<std::size_t> file) {
        if (file) {
            auto [it, added] = firstFile.try_emplace(selector, *file);
            it->second = std::min(it->second, *file);
        }
    };
    const ImportedSwiftNames swiftNames(files_, index_, candidates_);
    for (const auto& selector : candidates_) {
        for (const auto& name : swiftNames.of(selector)) {
            reached(selector, swift.fileNaming(name));
        }
        reached(selector, swift.fileGivingSelector(selector));
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const auto& facts = index_.factsOf(f);
        for (const auto& use : facts.uses) {
            if (use.kind == UseKind::declaration && use.container >= 0 &&
                facts.containers[use.container].kind == Container::Kind::protocol &&
                candidates_.contains(use.selector)) {
                reached(use.selector, swift.fileAdopting(facts.containers[use.container].name));
            }
        }
    }
    for (const auto& [selector, file] : firstFile) {
        note(selector, ProtectionReason::Kind::swiftUse, files_[file].inPath());
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
