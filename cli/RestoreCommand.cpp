#include "RestoreCommand.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

#include "Commands.h"
#include "JsonOutput.h"
#include "backup/BackupRestore.h"
#include "log/Log.h"

namespace quillet::cli {

namespace {

// Whether the archive can be opened at all, or the system's reason why not: the zip library
// says less ("No such file"). A pipe in its place must not hold the command up.
Status openable(const std::string& archive) {
    const int fd = ::open(archive.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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

// What the restore did, as its --json document.
nlohmann::json restoreJson(const Arguments& args, const Result<std::string>& project,
                           const Result<RestoreReport>& restored, int status) {
    nlohmann::json document = {
        {"command", "restore"},
        {"archive", args.archive},
        {"project", project ? nlohmann::json(*project) : nlohmann::json(nullptr)},
        {"exitStatus", status},
        {"status", status == done         ? "done"
                   : status == incomplete ? "incomplete"
                                          : "refused"},
        {"refusal", nullptr}};
    if (!restored) {
        document["refusal"] = {{"message", restored.error().message + "; nothing was changed"}};
        return document;
    }
    document["restored"] = restored->restored;
    document["unchanged"] = restored->unchanged;
    document["added"] = restored->added;
    document["addedRemoved"] = restored->addedRemoved;
    document["failed"] = restored->failed;
    return document;
}

void printRestore(const std::string& project, const std::string& archive,
                  const RestoreReport& report) {
    std::cout << "restored: " << project << "\n"
              << "from: " << archive << "\n"
              << "put back: " << report.restored << "\n"
              << "already as backed up: " << report.unchanged << "\n";
    for (const auto& added : report.added) {
        std::cout << (report.addedRemoved ? "removed, added since the backup: "
                                          : "kept, added since the backup: ")
                  << added << "\n";
    }
    for (const auto& failure : report.failed) {
        std::cerr << "could not be put back: " << failure << "\n";
    }
}

} // namespace

int runRestore(const Arguments& args) {
    const auto project = projectOf(args);
    const auto restored = project ? restoreBackup(args.archive, *project, args.clean)
                                  : Result<RestoreReport>(project.error());
    const int status = !restored ? couldNotStart : restored->failed.empty() ? done : incomplete;
    if (restored) {
        QLOG("Restored " + *project + " from " + args.archive);
    }
    if (args.json) {
        printJson(restoreJson(args, project, restored, status));
    } else if (!restored) {
        std::cerr << "quillet-cli: " << restored.error().message << "; nothing was changed\n";
    } else {
        printRestore(*project, args.archive, *restored);
    }
    return status;
}

} // namespace quillet::cli
