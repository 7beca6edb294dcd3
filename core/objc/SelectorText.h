#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet::objc {

// Whether `text` is a selector with keywords, as written in @selector(...) or passed to
// NSSelectorFromString: "name:", "fooWithName:count:", "foo::". The first keyword has a name.
bool isKeywordSelector(std::string_view text);

// The keywords of a selector, each with its colon: "foo:bar:" gives "foo:", "bar:"; an empty
// keyword is ":".
std::vector<std::string> keywordsOf(std::string_view selector);

} // namespace quillet::objc
