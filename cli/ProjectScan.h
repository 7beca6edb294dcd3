#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "Arguments.h"
#include "engine/MRenameTool.h"
#include "precise/ProtectionSetup.h"

namespace quillet::cli {

// What a scan read besides the project: the SDK folders of a precise run.
struct ScanInfo {
    std::vector<SdkReport> sdks;
};

// Checks the project folder, reads what protects selectors (precise mode), loads the project and
// collects its methods. On failure prints why on `err` and returns nothing; nothing has been
// written then.
std::optional<ScanInfo> scanProject(MRenameTool& tool, const Arguments& args, std::ostream& err);

// What the scan found: files, unreadable files (each named), headers, methods, pieces, words;
// in the precise mode also the SDKs read, the protected methods and the files left unparsed.
void printScanSummary(MRenameTool& tool, const ScanInfo& info, std::ostream& err);

} // namespace quillet::cli
