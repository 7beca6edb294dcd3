#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/TypeName.h"
#include "precise/ProjectIndex.h"
#include "precise/SelectorSet.h"
#include "precise/SourceFile.h"
#include "precise/TypeNameScan.h"
#include "text/StringHash.h"

namespace quillet {

// The classes (an @interface and an @implementation in files the run writes) and protocols (an
// @protocol block there) the project defines, in the order first found, and why some keep their
// names: the user protects it; code the run does not write defines it too; it also names a
// selector's keyword, a property, or both a class and a protocol; objects of the class are
// archived under its name (NSCoding, its own or a superclass's); a nib or a Core Data entity
// that code may look up by the class's name is named after it; or a file names it where a
// rename cannot follow (Swift, a string, an ignored or binary file).
class OwnTypeNames {
public:
    struct Asked {
        bool classes = false;
        bool protocols = false;
    };

    OwnTypeNames(const std::vector<SourceFile>& files, const ProjectIndex& index, Asked asked,
                 const SelectorSet& userList);

    const std::vector<TypeName>& names() const { return names_; }
    // Every identifier the sources write, besides the project's type names.
    const SelectorSet& identifiers() const { return scan_->identifiers(); }

private:
    void findCandidates(Asked asked);
    void keep(std::size_t name, ProtectionReason reason);
    void keepDefinedElsewhere();
    void keepSharedNames();
    void keepArchivedClasses();
    void keepNamedResources();
    void keepWhatFilesKeep();

    const std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    std::vector<TypeName> names_;
    text::StringMap<std::size_t> positionOf_;
    std::unique_ptr<TypeNameScan> scan_;
};

} // namespace quillet
