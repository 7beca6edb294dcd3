#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace quillet {

// The archive a backup of `folderPath` made at `now` goes to: the backup directory, "/", the
// folder's last named component, "_", the local time as "yyyy-MM-dd_HH_mm_ss", ".zip". Nothing
// for a folder path without a named component (the file system root).
std::optional<std::string> backupArchivePath(const std::string& folderPath,
                                             const std::string& backupDirectory,
                                             std::chrono::system_clock::time_point now);

// Zips the folder into the backup directory (made with its parents when missing) before a run.
// Entries are named from the folder's parent down ("Demo/...") and keep their permission bits;
// symbolic links are stored as links and never followed; empty folders are kept. The archive
// appears only when complete, replacing one of the same name. Returns its path, or nothing after
// logging why; the folder itself is only read.
std::optional<std::string>
backupFolder(const std::string& folderPath, const std::string& backupDirectory,
             std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

} // namespace quillet
