#pragma once

#include <string>

#include "engine/MRenameTool.h"
#include "precise/NameKinds.h"
#include "precise/ProtectionRules.h"
#include "random/RandomSource.h"
#include "support/Files.h"

namespace quillet::test {

// A project in a temporary folder, scanned by the precise mode with random names.
class PreciseProject {
public:
    explicit PreciseProject(NameKinds kinds = {}, ProtectionInputs inputs = {});

    TempDir& dir() { return dir_; }
    // Loads and collects; whether a header of the project's own was found.
    bool scan();
    // "rename", or why the candidate keeps its name; "absent" when it is no candidate.
    std::string verdict(const std::string& selector);
    // Renames every method that is not protected and writes the files.
    void renameAll();
    MRenameTool& tool() { return tool_; }
    std::string read(const std::string& relative) const { return readFile(dir_.path() / relative); }

private:
    TempDir dir_;
    SeededRandom random_{11};
    MRenameTool tool_;
};

} // namespace quillet::test
