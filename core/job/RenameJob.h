#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/MRenameTool.h"
#include "fs/FolderLock.h"
#include "precise/ProtectionSetup.h"
#include "random/RandomSource.h"

namespace quillet {

// What one run is asked to do.
struct RenameRequest {
    std::string project;
    RenameMode mode = RenameMode::precise;
    std::vector<std::string> ignore;
    std::string methodPrefix;
    ProtectionSources protection; // the precise mode's SDK folders and selector lists
};

// Why a run could not start; nothing has been written then.
struct RenameRefusal {
    enum class Reason {
        illegalPath,          // the path rule refuses the folder
        noSuchFolder,         // nothing there
        notAFolder,           // something else there
        busy,                 // another run holds the folder
        protectionUnreadable, // an SDK folder or selector list the user gave cannot be read
        noHeaders,            // no header has an implementation file beside it
    };
    Reason reason;
    std::string detail;
};

// One rename run in the order every front end follows: check the project folder and take its
// lock (held until the job ends, so no second run, in this process or another, can interleave),
// read what protects selectors, scan and collect, make the new names, back the project up, then
// write the name list, the sources and sync. The front ends add only their way of speaking to
// the user, and where each step runs.
class RenameJob {
public:
    explicit RenameJob(RenameRequest request, RandomSource& random = RandomSource::system());

    std::optional<RenameRefusal> prepare(const std::string& cacheFolder);

    MRenameTool& tool() { return tool_; }
    const MRenameTool& tool() const { return tool_; }
    const std::vector<SdkReport>& sdks() const { return sdks_; }

    // The "not enough words" message when `words` cannot name every method; nothing when they
    // can (random mode passes no words and always can).
    std::optional<std::string> wordShortage(const std::vector<std::string>& words);
    // New names for every method to rename; nothing when the words ran out.
    std::optional<std::vector<RenamePair>> makeNames(const std::vector<std::string>& words);
    // Zips the project into the backup directory; the archive, or nothing (logged).
    std::optional<std::string> backUp(const std::string& backupDirectory) const;
    // Rewrites the project: name list first, then the sources, then one sync. The tool's
    // writeReport() says how it went; files that could not be read are logged by name.
    void rename(const std::vector<RenamePair>& pairs);
    // Whether the run left the project as a whole: the list written and every source read and
    // written (a file not read may still use a renamed method).
    bool complete() const;

private:
    RenameRequest request_;
    MRenameTool tool_;
    std::optional<fs::FolderLock> lock_;
    std::vector<SdkReport> sdks_;
};

} // namespace quillet
