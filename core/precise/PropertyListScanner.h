#pragma once

#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// The selectors an XML property list names: a <string> whose whole value is a selector with
// keywords (a plug-in's actionSelector, say) is an action, rewritten in place. In an Interface
// Builder classes.nib (`classesNib`), the keys of each class's ACTIONS dictionary are action
// names without their colon. Anything else that spells a selector keeps it, as a fixed text.
objc::SourceFacts scanPropertyList(std::string_view xml, bool classesNib);

} // namespace quillet
