#pragma once

#include <string>
#include <vector>

namespace quillet {

// The SDK folders a precise run reads on its own, besides those the user names: on macOS the
// iOS and macOS SDKs that xcrun knows (none without Xcode or its command line tools), elsewhere
// GNUstep's Foundation and AppKit headers where they are installed.
std::vector<std::string> platformSdkFolders();

} // namespace quillet
