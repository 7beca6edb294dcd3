#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace quillet {
struct RunReport;
struct UnparsedFile;
} // namespace quillet

namespace quillet::app {

// How a run of the rename screen ended, and the words the completion dialog says it in.
struct RunOutcome {
    std::optional<std::string> archive; // the backup; nothing when it failed (nothing renamed)
    std::string unreadableSource;       // the project's file a failed backup could not read
    bool listWritten = false;           // without the list nothing was renamed either
    bool precise = false;
    std::size_t renamed = 0;
    std::size_t protectedMethods = 0;
    std::size_t renamedClasses = 0;
    std::size_t renamedProtocols = 0;
    std::size_t renamedProperties = 0;
    std::vector<std::string> unparsedFiles;   // read, but left as they were
    std::vector<std::string> unreadableFiles; // not read, left as they were
    std::string logPath;                      // where the run log names every one of them
    std::size_t failedWrites = 0;
    // With an earlier run's names file: the names given again, those that now mean something
    // else and got fresh ones, and those the project no longer has.
    std::size_t namesReused = 0;
    std::size_t renamedAfresh = 0;
    std::size_t namesCarried = 0;

    // After the job has run (or stopped at its backup).
    static RunOutcome of(const quillet::RunReport& report);

    // Why a run that would not go ahead with files it cannot read changed nothing, naming them.
    static QString unreadableMessage(const std::vector<quillet::UnparsedFile>& inaccessible);

    QString title() const;
    QString message() const;
    // A backup to restore: the run got as far as rewriting.
    bool offersRestore() const { return archive.has_value() && listWritten; }

private:
    QString typesLine() const;
    QString reuseLines() const;
};

} // namespace quillet::app
