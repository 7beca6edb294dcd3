#pragma once

#include <string>
#include <vector>

#include "precise/ProjectIndex.h"
#include "precise/SelectorSet.h"
#include "precise/SourceFile.h"
#include "text/StringHash.h"

namespace quillet {

// The Swift base names each of the given selectors may be called by from Swift, learnt from
// every Objective-C declaration of it: the importer's names for its first keyword and first
// parameter type, and the name NS_SWIFT_NAME(...) gives after the declaration.
class ImportedSwiftNames {
public:
    ImportedSwiftNames(const std::vector<SourceFile>& files, const ProjectIndex& index,
                       const SelectorSet& selectors);

    // Empty for a selector that was not asked about.
    const std::vector<std::string>& of(const std::string& selector) const;

private:
    void add(const std::string& selector, std::vector<std::string> names);

    text::StringMap<std::vector<std::string>> names_;
};

} // namespace quillet
