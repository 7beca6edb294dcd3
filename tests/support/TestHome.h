#pragma once

#include <string>

namespace quillet::test {

// Points HOME at a fresh folder and drops XDG_CONFIG_HOME, so the run log and the settings of a
// test process are its own and no test touches the real ones. Empty when no folder could be made.
std::string useFreshHome();
void removeHome(const std::string& home);

} // namespace quillet::test
