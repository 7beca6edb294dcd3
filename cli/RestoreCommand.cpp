#include "RestoreCommand.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

#include "Commands.h"
#include "backup/BackupRestore.h"
#include "log/Log.h"

namespace quillet::cli {

namespace {

// Whether the archive can be opened at all, or the system's reason why not: the zip library
// says less ("No such file").
Status openable(const std::string& archive) {
    const int fd = ::open(archive.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return Error{"cannot open " + archive + ": " + std::strerror(errno)};
    }
    ::close(fd);
    return Status::success();
}

// The folder to restore into: the one given, or the one the archive names.
Result<std::string> projectOf(const Arguments& args) {
    if (const auto opened = openable(args.archive); !opened) {
        return opened.error();
    }
    return args.project.empty() ? backedUpFolder(args.archive) : Result<std::string>(args.project);
}

} // namespace

int runRestore(const Arguments& args) {
    const auto project = projectOf(args);
    if (!project) {
        std::cerr << "quillet-cli: " << project.error().message << "; nothing was changed\n";
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
    return report.failed.empty() ? done : incomplete;
}

} // namespace quillet::cli
