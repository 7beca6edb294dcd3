#pragma once

#include <memory>
#include <optional>

#include "job/RunObserver.h"
#include "job/RunOptions.h"
#include "job/RunReport.h"
#include "random/RandomSource.h"

namespace quillet {

class MRenameTool;

// One rename run, in the one order every front end gets: check the project folder and take its
// lock (held to the end, so no second run, in this process or another, can interleave), read
// what protects selectors, scan and collect, check the words and make the names, back the
// project up, then write the name list, the sources, and sync. Every log line of the run is
// written here; the front ends only say the report in their own way.
class RenameJob {
public:
    explicit RenameJob(RandomSource& random = RandomSource::system()) : random_(random) {}

    // Checks, reads and collects only: what `run` would rename and protect. Nothing is written.
    RunReport scan(const RunOptions& options, RunObserver& observer);
    // The whole run, or as far as it can go; the report says where it stopped and why.
    RunReport run(const RunOptions& options, RunObserver& observer);
    // Renames a project back with the names file of the run that renamed it (its `mode`, `kinds`
    // and words are not used): every name the file gives, but those marked unused, goes back to
    // the old one, and a class's moved files to their old names; the name lists are left as
    // they are. Refused, with every such name, where the project has gained an old name since.
    RunReport unrename(const RunOptions& options, const std::string& names, RunObserver& observer);

private:
    struct OpenProject;
    std::optional<OpenProject> open(const RunOptions& options, RunReport& report,
                                    RunObserver& observer);

    RandomSource& random_;
};

} // namespace quillet
