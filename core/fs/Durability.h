#pragma once

#include <string>

namespace quillet::fs {

// Makes what was written to the file system holding `path` durable: one sync of that file
// system where the system offers it (Linux), else of all of them. False when it failed.
bool syncFileSystemOf(const std::string& path);

} // namespace quillet::fs
