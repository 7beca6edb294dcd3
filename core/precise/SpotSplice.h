#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace quillet {

// Writes a new text into each of `files` where `spotsOf(f)` gives spots (each with an offset,
// a length and `name`, the position of the name it holds, none overlapping): every spot becomes
// `replacement(spot)`. Returns how many places each of the `names` names was written in.
template <typename Files, typename SpotsOf, typename Replacement>
std::vector<std::size_t> spliceSpots(Files& files, std::size_t names, SpotsOf spotsOf,
                                     Replacement replacement) {
    std::vector<std::size_t> places(names, 0);
    for (std::size_t f = 0; f < files.size(); ++f) {
        auto spots = spotsOf(f);
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
            after += replacement(spot);
            copied = spot.offset + spot.length;
            ++places[spot.name];
        }
        after.append(before, copied, std::string::npos);
        files[f].setText(std::move(after));
    }
    return places;
}

} // namespace quillet
