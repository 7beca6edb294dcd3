#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quillet::test {

// Runs `work` in a child process that has first become the unprivileged user nobody when this
// one is root: root reads every file whatever its permissions, so only another user sees a
// project the way a user whose files cannot all be read does. Returns what `work` returned, or
// nothing when the child could not switch users or did not end normally.
std::optional<std::string> asNobody(const std::function<std::string()>& work);

// Whether asNobody can switch users here (a root without the right to, in some containers,
// cannot); tests of what another user cannot read skip only then.
bool canBecomeNobody();

// Lets any user read, write and enter the folder and everything below it, so that the child of
// asNobody can work on it; the permissions a test then takes away are the only ones missing.
void openToEveryone(const std::filesystem::path& folder);

} // namespace quillet::test
