#pragma once

#include <string>
#include <vector>

#include "engine/MRenameTool.h"

namespace quillet::test {

// A method model from a selector text such as "fooWithName:count:".
MethodModel method(const std::string& selector, const std::string& file = "");
RenamePair renamePair(const std::string& oldSelector, const std::string& file,
                      const std::string& newSelector);

// Loads and collects a project; fails the current test when no header is kept.
void scan(MRenameTool& tool, const std::string& root);

// The value lines of a run log, without the header lines that carry times and source places.
std::vector<std::string> logValues(const std::string& logText);

} // namespace quillet::test
