#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BitSet.h"
#include "text/StringHash.h"

namespace quillet {

class FileModel;

// Which project headers each file can see through quoted imports. Nodes are file names: an
// import of "Foo.h" reaches every loaded file named Foo.h, and through their imports further.
// Reachability is exact even when headers import each other in a cycle.
class ImportGraph {
public:
    explicit ImportGraph(const std::vector<FileModel>& files);

    std::optional<std::uint32_t> nodeOf(std::string_view name) const;
    const std::string& nameOf(std::uint32_t node) const { return names_[node]; }
    std::size_t nodeCount() const { return names_.size(); }

    // Names reachable from a file's imports (each imported name included).
    BitSet closureOf(const FileModel& file) const;

    // For each name: the indices of the files, in order, that are that file themselves (same
    // name) or can see it. Names that match no loaded file get only the files of that name.
    std::vector<std::vector<std::uint32_t>>
    filesSeeing(const std::vector<std::string>& names) const;

private:
    void computeReach();

    const std::vector<FileModel>& files_;
    std::vector<std::string> names_;
    text::StringMap<std::uint32_t> ids_;
    std::vector<std::uint32_t> nodeOfFile_;
    std::vector<std::vector<std::uint32_t>> importsOfFile_; // resolved, duplicates dropped
    std::vector<std::vector<std::uint32_t>> edges_;         // node -> imported nodes
    // Per strongly connected group of names: its members and every name reachable from them.
    std::vector<std::uint32_t> groupOf_;
    std::vector<BitSet> reach_;
};

} // namespace quillet
