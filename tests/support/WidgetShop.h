#pragma once

#include <string>

#include "job/RunOptions.h"
#include "support/Files.h"

namespace quillet::test {

// A project whose class Widget has files in two folders (Models/Widget.h/.m and the category
// Categories/Widget+Extras.h/.m), imported from several folders in every way an import may
// spell them, and listed by an Xcode project at the top (its groups follow the folders; one
// reference carries its folder in its path).
void writeWidgetShop(const TempDir& dir);

// A run of `dir` that renames classes too.
RunOptions classRunOf(const TempDir& dir);

} // namespace quillet::test
