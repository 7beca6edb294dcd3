#pragma once

#include <string>

#include "base/Result.h"

namespace quillet::fs {

// Makes what was written to the file system holding `path` durable: one sync of that file
// system where the system offers it (Linux), else of all of them.
Status syncFileSystemOf(const std::string& path);

} // namespace quillet::fs
