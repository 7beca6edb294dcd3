#pragma once

#include <string>
#include <string_view>

namespace quillet::cli {

// The usage of every command, with every option once and the exit statuses.
std::string usageText();

// The usage of one command ("rename", "bank set") or of a group of them ("bank"): its lines,
// its options and the exit statuses. The full usage for a topic no command has.
std::string usageText(std::string_view topic);

} // namespace quillet::cli
