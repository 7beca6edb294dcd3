#pragma once

#include <string>
#include <vector>

#include "engine/ProtectionReason.h"
#include "precise/ProjectIndex.h"
#include "precise/SelectorSet.h"
#include "precise/SourceFile.h"
#include "text/StringHash.h"

namespace quillet {

// Finds where argument-less candidates are written other than as the selector uses a rename
// follows. An argument-less name is also a plain word of the language, so it keeps its name
// when a source writes it anywhere else (a property, a variable, a dot-syntax use, a macro's
// argument), when a string literal names it whole or as a key path's part (key-value coding,
// NSSelectorFromString), and when any other file read (Swift, an interface or data file)
// holds it as a word. One declared but defined nowhere in the project is provided at run time
// (an @dynamic property's accessor, Core Data's primitive<Key>) under that name, so it keeps it.
class UnaryNameScan {
public:
    UnaryNameScan(const std::vector<SourceFile>& files, const ProjectIndex& index,
                  const SelectorSet& candidates);

    // The first reason found for each candidate that has one.
    const text::StringMap<ProtectionReason>& reasons() const { return reasons_; }

private:
    void scanSource(std::size_t file);
    void scanWords(std::size_t file);
    void note(std::string_view name, ProtectionReason::Kind kind, std::size_t file);
    void keepUndefined();

    const std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    const SelectorSet& candidates_;
    text::StringMap<ProtectionReason> reasons_;
    SelectorSet defined_;                     // candidates some @implementation defines
    text::StringMap<std::size_t> declaredIn_; // candidate -> the first file declaring it
};

} // namespace quillet
