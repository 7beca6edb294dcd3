#include "RestoreCommand.h"

#include <iostream>

#include "Commands.h"
#include "backup/BackupRestore.h"
#include "log/Log.h"

namespace quillet::cli {

int runRestore(const Arguments& args) {
    const auto project =
        args.project.empty() ? backedUpFolder(args.archive) : std::optional(args.project);
    if (!project) {
        std::cerr << "quillet-cli: " << args.archive
                  << " does not say which folder it holds; name the PROJECT folder\n";
        return couldNotStart;
    }
    const auto result = restoreBackup(args.archive, *project, args.clean);
    if (!result.report) {
        std::cerr << "quillet-cli: " << result.error << "; nothing was changed\n";
        return couldNotStart;
    }
    const auto& report = *result.report;
    QLOG("Restored " + *project + " from " + args.archive);
    std::cout << "restored " << *project << " from " << args.archive << "\n"
              << "put back: " << report.restored << " (already as backed up: " << report.unchanged
              << ")\n";
    for (const auto& added : report.added) {
        std::cout << (report.addedRemoved ? "removed, added since the backup: "
                                          : "kept, added since the backup: ")
                  << added << "\n";
    }
    for (const auto& failure : report.failed) {
        std::cerr << "could not be put back: " << failure << "\n";
    }
    return report.failed.empty() ? done : writeFailures;
}

} // namespace quillet::cli
