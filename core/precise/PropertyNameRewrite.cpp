#include "precise/PropertyNameRewrite.h"

#include <algorithm>

#include "log/Log.h"
#include "precise/RuntimeSelectors.h"

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
    std::vector<std::size_t> places(renames.size(), 0);
    for (std::size_t f = 0; f < files.size(); ++f) {
        auto spots = scan.factsOf(f).spots;
        if (spots.empty()) {
            continue;
        }
        std::sort(spots.begin(), spots.end(),
                  [](const auto& a, const auto& b) { return a.offset < b.offset; });
        const std::string& before = files[f].text();
        std::string after;
        after.reserve(before.size() + spots.size() * 8);
        std::size_t copied = 0;
        for (const auto& spot : spots) {
            after.append(before, copied, spot.offset - copied);
            after += writtenForm(renames[spot.name].to, spot.form);
            copied = spot.offset + spot.length;
            ++places[spot.name];
        }
        after.append(before, copied, std::string::npos);
        files[f].setText(std::move(after));
    }
    for (std::size_t r = 0; r < renames.size(); ++r) {
        QLOG("property " + renames[r].from + " -> " + renames[r].to + ": " +
             std::to_string(places[r]) + " places");
    }
}

} // namespace quillet
