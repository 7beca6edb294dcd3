#pragma once

#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// The action selectors of an Interface Builder document: a .xib or .storyboard (selector="..."
// and unwindAction="..." attributes), or an Interface Builder 3 archive (.xib, designable.nib:
// the label of an action connection, and the actions its class descriptions list), each as one
// interfaceAction use. Anything else in it that spells a selector keeps it, as a fixed text.
objc::SourceFacts scanInterfaceFile(std::string_view xml);

} // namespace quillet
