#pragma once

#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// The actions an Interface Builder 2 classes.nib names, in its text property list form
// ({IBClasses = ({ACTIONS = {done = id; }; CLASS = MyController; ...}); }): each key of an
// ACTIONS dictionary is an action's name without its colon, rewritten in place. Any other string
// that spells a selector keeps it, as a fixed text. A list that cannot be read has a problem.
objc::SourceFacts scanClassesNib(std::string_view text);

} // namespace quillet
