#include "precise/TypeNameRewrite.h"

#include "log/Log.h"
#include "precise/SpotSplice.h"
#include "precise/TypeNameScan.h"

namespace quillet {

void rewriteTypeNames(std::vector<SourceFile>& files, const ProjectIndex& index,
                      const std::vector<TypeRename>& renames) {
    if (renames.empty()) {
        return;
    }
    std::vector<std::string> oldNames;
    oldNames.reserve(renames.size());
    for (const auto& rename : renames) {
        oldNames.push_back(rename.from);
    }
    const TypeNameScan scan(files, index, oldNames);
    const auto places = spliceSpots(
        files, renames.size(), [&](std::size_t f) { return scan.factsOf(f).spots; },
        [&](const TypeNameSpot& spot) { return renames[spot.name].to; });
    for (std::size_t r = 0; r < renames.size(); ++r) {
        QLOG(std::string(kindWord(renames[r].kind)) + " " + renames[r].from + " -> " +
             renames[r].to + ": " + std::to_string(places[r]) + " places");
    }
}

} // namespace quillet
