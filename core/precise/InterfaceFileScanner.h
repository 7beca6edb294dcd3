#pragma once

#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// The action selectors of an Interface Builder document (.xib, .storyboard): the value of every
// selector="..." attribute that names a selector with keywords, as one interfaceAction use each.
objc::SourceFacts scanInterfaceFile(std::string_view xml);

} // namespace quillet
