#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/NameTable.h"
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

// Every name a run gave: "method" (with keywords) and "unary" (argument-less) with whole
// selectors, the properties, classes and protocols, and "file" with paths.
NameTable nameTable(const std::vector<RenamePair>& pairs, const std::vector<TypeRename>& types,
                    const std::vector<MovedFile>& files);

// The header line of a run's table: "Quillet 0.1.0, precise mode, 2026-12-09T05:55:00Z".
std::string nameTableHeader(std::string_view mode);

inline constexpr const char* nameTableFile = "QuilletNames.tsv";

} // namespace quillet
