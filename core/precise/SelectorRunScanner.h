#pragma once

#include <string_view>

#include "precise/ReferenceCollector.h"

namespace quillet {

// The selectors that may be written in a file whose format is not read as such (a compiled nib
// that is not a property list, a text property list other than classes.nib): every run of selector
// characters up to its last colon, also without its first byte (which may be the length of a string
// in a binary form), keeps the selector it spells.
void collectSelectorRuns(std::string_view bytes, ReferenceCollector& references);

} // namespace quillet
