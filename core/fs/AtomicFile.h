#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet::fs {

// Replaces the file at `path` with `content`: writes a temporary file beside it and renames it
// into place, so readers see the old file or the new one, never a mix. A file already there keeps
// its permission bits (and owner, where allowed); a file without any write permission bit is
// refused rather than replaced behind its owner's back. Returns the reason on failure, after
// removing the temporary file.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content);

} // namespace quillet::fs
