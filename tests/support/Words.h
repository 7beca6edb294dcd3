#pragma once

#include <cstddef>
#include <string>

namespace quillet::test {

// A bank text of `count` distinct words of eight lowercase letters, joined by ",";
// `salt` (a lowercase letter) gives another set of words.
std::string bankText(std::size_t count, char salt = 'w');

} // namespace quillet::test
