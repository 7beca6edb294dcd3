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

// Where a file names a candidate property so that a rename rewrites it.
struct PropertyNameSpot {
    // What is written there: the name ("title", a declaration, a message, dot syntax, a key),
    // its instance variable ("_title") or its setter's keyword ("setTitle").
    enum class Form : std::uint8_t { name, instanceVariable, setter };
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::uint32_t name = 0; // the candidate, by its position
    Form form = Form::name;
};

// What one file says about the candidates.
struct PropertyNameFacts {
    std::vector<PropertyNameSpot> spots; // in text order
    std::vector<std::pair<std::uint32_t, ProtectionReason>> keeps;
    // Classes whose properties code reads by name at run time (a model mapper's messages, the
    // runtime's property lists), and whether it does so for classes it cannot tell.
    std::vector<std::string> mappedClasses;
    bool mapsAnyClass = false;
};

// Reads every loaded file for the candidate property names, on several threads. In a source the
// run writes, every identifier that is the name (but a keyword of some other selector), its
// instance variable "_name" or its setter's "setName" is a spot, and so is a key path component
// of a string handed to key-value observing, to a sort descriptor, to key-value coding of self,
// or compared with an observed key path; an outlet and a binding's key path of an interface file
// too. What a rename cannot follow keeps the name: any other string, a function or macro of
// that name, a Core Data attribute, and every word of a file the run does not write.
class PropertyNameScan {
public:
    struct Candidate {
        std::string name;
        bool setterFollows = true; // no custom setter: "setName:" is its setter
    };

    PropertyNameScan(const std::vector<SourceFile>& files, const ProjectIndex& index,
                     const std::vector<Candidate>& candidates);

    const PropertyNameFacts& factsOf(std::size_t file) const { return facts_[file]; }

private:
    struct Match {
        std::uint32_t name;
        PropertyNameSpot::Form form;
    };

    PropertyNameFacts scanFile(std::size_t file) const;
    void scanCode(const SourceFile& file, bool rewritten, PropertyNameFacts& facts) const;
    void scanXml(const SourceFile& file, PropertyNameFacts& facts) const;
    void scanWords(const SourceFile& file, ProtectionReason reason, PropertyNameFacts& facts) const;
    // Each candidate a key path ("user.title") names, as spots when `followed`, else as keeps.
    void keyPath(std::string_view path, std::size_t offset, bool followed,
                 const ProtectionReason& reason, PropertyNameFacts& facts) const;
    const Match* match(std::string_view word) const;

    const std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    text::StringMap<Match> matches_; // name, "_name" and "setName" -> the candidate
    std::vector<PropertyNameFacts> facts_;
};

} // namespace quillet
