#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace quillet {

// What a backup's comment says before the folder's path.
inline constexpr std::string_view backupCommentPrefix = "Quillet backup of ";

// The archive a backup of `folderPath` made at `now` goes to when the name is free: the backup
// directory, "/", the folder's last named component, "_", the local time as
// "yyyy-MM-dd_HH_mm_ss", ".zip". Nothing for a folder path without a named component (the file
// system root).
std::optional<std::string> backupArchivePath(const std::string& folderPath,
                                             const std::string& backupDirectory,
                                             std::chrono::system_clock::time_point now);

// Why a backup could not be made, in words the user can act on.
struct BackupFailure {
    std::string message;
    // The file or folder of the project that could not be read; empty when the fault lies with
    // the backup directory or the archive.
    std::string unreadableSource;
};

// Told how many bytes of the project's files are in the archive so far, of how many.
using BackupProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Zips the folder into the backup directory (made with its parents when missing) before a run.
// Entries are named from the folder's parent down ("Demo/...") and keep their permission bits;
// names that are not UTF-8 are stored as they are; symbolic links are stored as links and never
// followed; empty folders are kept. The archive's comment names the folder it holds, for
// restoring it. The archive appears only when complete, and never replaces another: a name that
// is taken gets "_2", "_3"... before ".zip". Temporary files a stopped backup left in the backup
// directory are removed first. Returns the archive's path, or why there is none (which path could
// not be read or written), also logged; the folder itself is only read.
Result<std::string, BackupFailure>
backupFolder(const std::string& folderPath, const std::string& backupDirectory,
             std::chrono::system_clock::time_point now = std::chrono::system_clock::now(),
             const BackupProgress& progress = {});

} // namespace quillet
