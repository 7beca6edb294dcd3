#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace quillet::bench {

// The Objective-C names of a project that a class dump of its binary would show, by kind:
// "classes" (implemented), "protocols" (defined), "properties" (and the other names key-value
// coding reaches: @synthesize names, instance variables) of the project's own classes, and
// "methods" (selectors the project defines).
using NameCensus = std::map<std::string, std::set<std::string>>;

// Reads every .h, .m and .mm file below `root`.
NameCensus censusOf(const std::filesystem::path& root);

} // namespace quillet::bench
