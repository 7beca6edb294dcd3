#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ProtectionReason.h"
#include "precise/ProjectIndex.h"
#include "precise/SelectorSet.h"
#include "text/StringHash.h"

namespace quillet {

// What protects selectors besides the project's own code.
struct ProtectionInputs {
    std::shared_ptr<const SelectorSet> sdk; // the platform SDK's selectors; may be null
    SelectorSet userList;                   // selectors the user asked to keep
    // Pods/ and Carthage/ are someone else's code: read to protect what they use, never
    // rewritten, unless the user asks for it.
    bool rewriteVendored = false;
    // Sources below the project that could not be read (full paths), when a run goes ahead
    // without them: what a header beside one declares keeps its name, since its definitions
    // there cannot follow a rename.
    std::vector<std::string> unreadableSources;
};

// Decides, for the selectors a run would rename, which must keep their names and why: the SDK
// declares them, the runtime calls them by name (key-value coding accessors of the project's
// properties among them), a header that is not one of the project's classes declares them, code
// that is never rewritten uses them (Swift code included), a file names them where they cannot
// be rewritten, a super call reaches a class the project does not define, a macro forms them in
// a way a rename cannot follow, only a framework implements or calls them, or (argument-less)
// they are a property's name or getter.
class ProtectionRules {
public:
    ProtectionRules(const std::vector<SourceFile>& files, const ProjectIndex& index,
                    const std::vector<bool>& ownHeader, const ProtectionInputs& inputs,
                    const SelectorSet& candidates);

    std::optional<ProtectionReason> reasonFor(const std::string& selector) const;

private:
    void noteForeignDeclarations(const std::vector<bool>& ownHeader);
    void noteUntouchableFiles();
    void noteSuperCalls();
    void noteSwiftUses();
    void noteFrameworkImplementations();
    std::optional<std::string> frameworkAncestorOf(const std::string& className) const;
    void noteUsesNoRewriteFollows();
    void noteKeyValueCodingKeys();
    bool classHasKey(const std::string& className, const std::vector<std::string>& keys) const;
    std::optional<std::string> superReachesForeignClass(const std::string& className,
                                                        const std::string& selector) const;
    void note(const std::string& selector, ProtectionReason::Kind kind, std::string detail);

    const std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    const ProtectionInputs& inputs_;
    const SelectorSet& candidates_;
    text::StringMap<ProtectionReason> found_; // the first project reason of each candidate
    // The project's classes, from the files that are rewritten.
    text::StringMap<std::string> superclassOf_;
    SelectorSet definedClasses_;
    SelectorSet definedMethods_; // "Class selector"
    // Classes with an @implementation of their own anywhere in the project.
    SelectorSet implementedClasses_;
    // The keys of the project's properties and instance variables, capitalised ("Items").
    // Key-value coding: the keys (capitalised) of each class's properties and instance
    // variables, the superclass each container names, and the accessors whose key is real.
    text::StringMap<SelectorSet> keysOf_;
    text::StringMap<std::string> declaredSuperclassOf_;
    SelectorSet keyValueCodingAccessors_;
};

} // namespace quillet
