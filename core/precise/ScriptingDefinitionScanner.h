#pragma once

#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// The selectors an AppleScript scripting definition (.sdef) names: the method="..." of each
// <cocoa> element is a method the scripting machinery calls, rewritten in place. Anything else
// that spells a selector keeps it, as a fixed text.
objc::SourceFacts scanScriptingDefinition(std::string_view xml);

} // namespace quillet
