#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/TypeName.h"
#include "precise/ProjectIndex.h"
#include "precise/PropertyNameScan.h"
#include "precise/SelectorSet.h"
#include "precise/SourceFile.h"
#include "text/StringHash.h"

namespace quillet {

// The properties the project declares for its own classes and protocols (in files the run
// writes), by name, in the order first found, and why some keep their names. A name is renamed
// for every class at once, as a selector is, so it keeps its name when any reason holds for any
// of them: the SDK, the runtime or the user has it (its getter, its setter, or a selector
// starting like its setter); it is a keyword, a memory family's name or also a class; its getter
// or setter is named apart; Interface Builder sets it (IBInspectable); its class is archived
// (NSCoding), mapped by name (Core Data, a model mapper, code that lists properties) or has
// key-value coding accessors derived from it; or a file names it where a rename cannot follow.
class OwnPropertyNames {
public:
    OwnPropertyNames(const std::vector<SourceFile>& files, const ProjectIndex& index,
                     const SelectorSet& userList, const SelectorSet* sdk);

    const std::vector<TypeName>& names() const { return names_; }
    // The same properties as the scan reads them, in the same order.
    const std::vector<PropertyNameScan::Candidate>& candidates() const { return candidates_; }

private:
    void findCandidates();
    void keep(std::size_t name, ProtectionReason reason);
    void keepNamesTakenElsewhere(const SelectorSet& userList, const SelectorSet* sdk);
    void keepByClass();
    void keepDerivedAccessors();
    void keepWhatFilesKeep();

    const std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    std::vector<TypeName> names_;
    std::vector<PropertyNameScan::Candidate> candidates_;
    text::StringMap<std::size_t> positionOf_;
    text::StringMap<std::vector<std::string>> classesOf_; // name -> the classes declaring it
    std::unique_ptr<PropertyNameScan> scan_;
};

} // namespace quillet
