#include "RestoreCommand.h"

#include <iostream>

#include "Commands.h"
#include "backup/BackupRestore.h"
#include "log/Log.h"

namespace quillet::cli {

int runRestore(const Arguments& args) {
    const auto project =
        args.project.empty() ? backedUpFolder(args.archive) : Result<std::string>(args.project);
    if (!project) {
        std::cerr << "quillet-cli: " << args.archive
                  << " does not say which folder it holds; name the PROJECT folder\n";
        return couldNotStart;
    }
    const auto restored = restoreBackup(args.archive, *project, args.clean);
    if (!restored) {
        std::cerr << "quillet-cli: " << restored.error().message << "; nothing was changed\n";
        return couldNotStart;
    }
    const auto& report = *restored;
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
