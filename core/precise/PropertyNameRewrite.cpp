#include "precise/PropertyNameRewrite.h"

#include "log/Log.h"
#include "precise/RuntimeSelectors.h"
#include "precise/SpotSplice.h"

namespace quillet {

namespace {

std::string writtenForm(const std::string& name, PropertyNameSpot::Form form) {
    switch (form) {
    case PropertyNameSpot::Form::name:
        return name;
    case PropertyNameSpot::Form::instanceVariable:
        return "_" + name;
    case PropertyNameSpot::Form::setter:
        return setterKeyword(name);
    }
    return name;
}

} // namespace

void rewritePropertyNames(std::vector<SourceFile>& files, const ProjectIndex& index,
                          const std::vector<PropertyNameScan::Candidate>& candidates,
                          const std::vector<TypeRename>& renames) {
    if (renames.empty()) {
        return;
    }
    const PropertyNameScan scan(files, index, candidates);
    const auto places = spliceSpots(
        files, renames.size(), [&](std::size_t f) { return scan.factsOf(f).spots; },
        [&](const PropertyNameSpot& spot) {
            return writtenForm(renames[spot.name].to, spot.form);
        });
    for (std::size_t r = 0; r < renames.size(); ++r) {
        QLOG("property " + renames[r].from + " -> " + renames[r].to + ": " +
             std::to_string(places[r]) + " places");
    }
}

} // namespace quillet
