#pragma once

#include <cstddef>
#include <vector>

#include "engine/MethodModel.h"
#include "objc/SourceFacts.h"
#include "precise/SelectorSet.h"
#include "precise/SourceFile.h"

namespace quillet {

// What every loaded file says about selectors and classes, read once from its tokens (or, for
// an interface or data file, from where its format names actions). Files are scanned on several
// threads; then the uses of the project's selector-forming macros are read in every file.
class ProjectIndex {
public:
    // With `unary` recorded, argument-less selectors are read too.
    explicit ProjectIndex(const std::vector<SourceFile>& files,
                          objc::UnaryNames unary = objc::UnaryNames::skipped);

    const objc::SourceFacts& factsOf(std::size_t file) const { return facts_[file]; }
    // Read, and read as Objective-C without a problem: the file may be rewritten.
    bool parsed(std::size_t file) const;

    // The methods that the given headers declare and a rename may take, in header and
    // declaration order: with at least one keyword (or argument-less, when those are read),
    // neither initialisers nor setters by name ("init…", "set…"), no argument-less one of a
    // memory-managing family, and no block type in the signature.
    std::vector<MethodModel> declaredMethods(const std::vector<std::size_t>& headers) const;

    // Every selector that is written anywhere in the project.
    SelectorSet selectorsInUse() const;

private:
    void addMacroFormedUses();

    const std::vector<SourceFile>& files_;
    objc::UnaryNames unary_;
    std::vector<objc::SourceFacts> facts_;
};

} // namespace quillet
