#pragma once

#include <string>

namespace quillet {

// The current user's home folder: $HOME, else the password database's entry, else "/tmp".
std::string homeFolder();

} // namespace quillet
