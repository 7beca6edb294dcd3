#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::text {

// A unified diff, as "diff -u" prints it, that turns `before` into `after`, with `context`
// unchanged lines around each change; empty when the texts are equal. Lines end at "\n"; a last
// line without one is marked "\ No newline at end of file". Runs in linear time: after the
// common first and last lines, texts with as many lines pair them up line by line (a rename never
// adds or removes a line), others show the rest as one change.
std::string unifiedDiff(std::string_view before, std::string_view after,
                        std::string_view beforeLabel, std::string_view afterLabel,
                        std::size_t context = 3);

} // namespace quillet::text
