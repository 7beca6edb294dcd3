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
};

// Decides, for the selectors a run would rename, which must keep their names and why: the SDK
// declares them, the runtime calls them by name, a header that is not one of the project's
// classes declares them, code that is never rewritten uses them, a file names them where they
// cannot be rewritten, or a super call reaches a class the project does not define.
class ProtectionRules {
public:
    ProtectionRules(const std::vector<SourceFile>& files, const ProjectIndex& index,
                    const std::vector<bool>& ownHeader, const ProtectionInputs& inputs,
                    const SelectorSet& candidates);

    std::optional<ProtectionReason> reasonFor(const std::string& selector) const;

private:
    void noteForeignDeclarations(const std::vector<bool>& ownHeader);
    void noteUntouchableFiles();
    void noteFixedTexts();
    void noteSuperCalls();
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
};

} // namespace quillet
