#pragma once

#include <cstddef>
#include <string>

#include <vector>

#include "engine/MethodModel.h"
#include "engine/TypeName.h"

namespace quillet {

// The progress text and the name list entry of pair `number` (from 1) of `total`.
std::string progressText(std::size_t number, std::size_t total, const RenamePair& pair);
std::string nameListEntry(std::size_t number, std::size_t total, const RenamePair& pair);

// A file a run gave a new name, both paths relative to the project.
struct MovedFile {
    std::string from;
    std::string to;
};

// Every name a run gave, one a line as "kind<TAB>old<TAB>new": "method" (with keywords) and
// "unary" (argument-less) with whole selectors, then "class" and "protocol", then "file" with
// paths.
std::string nameTable(const std::vector<RenamePair>& pairs, const std::vector<TypeRename>& types,
                      const std::vector<MovedFile>& files);

inline constexpr const char* nameTableFile = "QuilletNames.tsv";

} // namespace quillet
