#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/ProtectionReason.h"
#include "precise/ProjectIndex.h"
#include "precise/SelectorSet.h"
#include "precise/SourceFile.h"
#include "text/StringHash.h"

namespace quillet {

// Where a file names a candidate class or protocol so that a rename rewrites it: an identifier
// in code, a string handed to NSClassFromString, a custom class in an interface file, a class
// key of a property list, a model's class of an entity.
struct TypeNameSpot {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t name = 0; // the candidate, by its position
};

// What one file says about the candidates.
struct TypeNameFacts {
    std::vector<TypeNameSpot> spots; // in text order
    // Candidates the file names where a rename cannot follow, with why.
    std::vector<std::pair<std::uint32_t, ProtectionReason>> keeps;
    std::vector<std::string> entityNames; // a Core Data model's entities
    bool derivesEntityNames = false; // code that names entities after classes (NSStringFromClass)
};

// Reads every loaded file for the candidate class and protocol names, on several threads. A
// source the run writes gives spots; one it does not (ignored, not parsed, of unsure encoding),
// a Swift file and a binary one keep every candidate they name.
class TypeNameScan {
public:
    TypeNameScan(const std::vector<SourceFile>& files, const ProjectIndex& index,
                 const std::vector<std::string>& candidates);

    const TypeNameFacts& factsOf(std::size_t file) const { return facts_[file]; }
    // Every identifier the project's Objective-C and Swift sources write: a new name must be none
    // of them.
    const SelectorSet& identifiers() const { return identifiers_; }

private:
    TypeNameFacts scanFile(std::size_t file, SelectorSet& identifiers) const;
    void scanCode(const SourceFile& file, bool rewritten, TypeNameFacts& facts,
                  SelectorSet& identifiers) const;
    void scanXml(const SourceFile& file, TypeNameFacts& facts) const;
    // Keeps every candidate the text holds as a word; adds each word to `words` when given.
    void scanWords(const SourceFile& file, ProtectionReason reason, TypeNameFacts& facts,
                   SelectorSet* words = nullptr) const;
    const std::uint32_t* candidate(std::string_view word) const;

    const std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    text::StringMap<std::uint32_t> candidates_;
    std::vector<TypeNameFacts> facts_;
    SelectorSet identifiers_;
};

} // namespace quillet
