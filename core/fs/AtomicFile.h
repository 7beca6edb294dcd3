#pragma once

#include <string>
#include <string_view>

#include "base/Result.h"

namespace quillet::fs {

// Replaces the file at `path` with `content`, so readers see the old file or the new one, never
// a mix. On Linux the content goes into an unnamed file first, which is given a name only once
// complete; elsewhere into a hidden temporary file beside it. Temporary names carry the writer's
// process id, so the ones a killed process leaves behind can be found (StaleTemporaries). A file
// already there keeps its permission bits and owner (where the owner cannot be kept, it loses its
// set-user and set-group ID bits, as a write by another user would); a file without any write
// permission bit is refused rather than replaced behind its owner's back. On failure, what it made
// is removed again.
//
// `Access::ownerOnly` is for files that hold secrets: the file, new or replaced, is readable and
// writable by its owner alone, from the moment it has its name.
enum class Access { asUmask, ownerOnly };
Status writeFileAtomically(const std::string& path, std::string_view content,
                           Access access = Access::asUmask);

// Writes `content` as the new file `to`, which must not exist yet (nothing there is ever
// replaced), with the permission bits of the regular file `from`, which stays where it is: the
// caller removes it once the new file is durable (one sync of the file system then serves every
// file a run moves). On failure nothing made stays.
Status writeNewFile(const std::string& from, const std::string& to, std::string_view content);

} // namespace quillet::fs
