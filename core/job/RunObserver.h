#pragma once

#include <cstddef>
#include <string>

#include "job/RunReport.h"

namespace quillet {

// What a front end hears of a run while it goes, always on the thread that runs it.
class RunObserver {
public:
    virtual ~RunObserver() = default;

    // The work of method `done` of `total` is under way; `text` says which, as the window shows.
    virtual void progress(std::size_t /*done*/, std::size_t /*total*/,
                          const std::string& /*text*/) {}
    // The project is about to be rewritten; `soFar` holds what the scan found and the backup.
    virtual void aboutToRename(const RunReport& /*soFar*/) {}
};

} // namespace quillet
