#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "job/RunReport.h"

namespace quillet {

// The parts of a run, in the order they come.
enum class RunPhase {
    listing,  // every entry below the project: entries found, no total
    reading,  // the files the mode reads: files
    backup,   // the project zipped: bytes
    renaming, // the names changed in memory: methods
    writing,  // the changed files written back: files
};

// What a front end hears of a run while it goes, always on the thread that runs it.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    // The work of method `done` of `total` is under way; `text` says which, as the window shows.
    virtual void progress(std::size_t /*done*/, std::size_t /*total*/,
                          const std::string& /*text*/) {}
    // How far `phase` has come; `total` is 0 where it is not known in advance. Called when a
    // phase begins (with `done` 0), as it goes, and when it ends (with `done` == `total`).
    virtual void phaseProgress(RunPhase /*phase*/, std::uint64_t /*done*/,
                               std::uint64_t /*total*/) {}
    // The project is about to be rewritten; `soFar` holds what the scan found and the backup.
    virtual void aboutToRename(const RunReport& /*soFar*/) {}
};

} // namespace quillet
