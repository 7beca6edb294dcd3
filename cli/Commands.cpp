#include "Commands.h"

#include <cstdio>
#include <iostream>

#include "ProgressBar.h"
#include "ProjectScan.h"
#include "job/RenameJob.h"
#include "log/Console.h"

namespace quillet::cli {

namespace {

// A rename's progress on the terminal, unless it runs quietly or only shows what it would do.
class TerminalObserver final : public RunObserver {
public:
    explicit TerminalObserver(bool quiet) : quiet_(quiet) {}

    void aboutToRename(const RunReport& soFar) override {
        if (!quiet_ && soFar.backup) {
            std::cerr << "代码备份" << soFar.backup->value() << "\n";
        }
    }
    void progress(std::size_t, std::size_t total, const std::string&) override {
        if (quiet_) {
            return;
        }
        if (!bar_) {
            bar_.emplace(stderr, total);
        }
        bar_->advance();
    }
    void finish() {
        if (bar_) {
            bar_->finish();
        }
    }

private:
    bool quiet_;
    std::optional<ProgressBar> bar_;
};

// Without a backup nothing was rewritten: the project's files are the user's only copy.
void printBackupFailure() {
    std::cerr << "代码备份失败\n"
              << "quillet-cli: the project was not changed; fix the backup directory (see "
              << Console::shared().path() << ") or rename with --no-backup\n";
}

// Counts only for a run that went ahead: one stopped before writing renamed nothing.
void printRunSummary(const RunReport& report) {
    const auto& writes = report.writes;
    if (!writes.listWritten) {
        return;
    }
    std::cerr << "methods renamed: " << report.renamed() << "\n";
    if (report.mode == RenameMode::precise || report.protectedMethods > 0) {
        std::cerr << "methods protected: " << report.protectedMethods << "\n";
    }
    if (report.mode == RenameMode::precise) {
        for (const auto& file : report.unparsedFiles) {
            std::cerr << "left as it is: " << file.path << ": " << file.problem << "\n";
        }
    }
    printReadingNotes(report, std::cerr);
    printVendoredFolders(report, std::cerr);
    std::cerr << "files changed: " << writes.written << " (unchanged " << writes.unchanged
              << ", failed " << writes.failed << ")\n"
              << "name list: " << report.nameListPath
              << (writes.listWritten ? "" : " (could not be written)") << "\n"
              << "log: " << Console::shared().path() << "\n";
}

// What keeps a finished run from being whole, always said, even with --quiet.
int completion(const RunReport& report) {
    if (!report.writes.listWritten) {
        std::cerr << "quillet-cli: the name list could not be written, so nothing was renamed "
                     "and the project was not changed; see "
                  << Console::shared().path() << "\n";
        return couldNotStart;
    }
    for (const auto& file : report.unreadableFiles) {
        std::cerr << "not read, left as it was (it may use renamed methods): " << file.path << ": "
                  << file.problem << "\n";
    }
    if (!report.complete()) {
        std::cerr << "quillet-cli: some files could not be written or read; see "
                  << Console::shared().path() << "\n";
        return writeFailures;
    }
    return done;
}

// Shows, as a patch, what the run would change.
int printDryRun(const RunReport& report, bool quiet) {
    for (const auto& change : report.changes) {
        if (change.diff.empty()) {
            std::cout << "# " << change.path << ": " << change.note << "\n";
        } else {
            std::cout << change.diff;
        }
    }
    if (!quiet) {
        std::cerr << "dry run: " << report.pairs.size() << " methods would be renamed in "
                  << report.changes.size() << " files; nothing was written\n";
    }
    return done;
}

} // namespace

int runMethods(const Arguments& args) {
    const auto options = runOptionsFor(args, std::cerr);
    if (!options) {
        return couldNotStart;
    }
    const auto report = RenameJob().scan(*options);
    if (report.refusal) {
        printRefusal(*report.refusal, std::cerr);
        return couldNotStart;
    }
    const bool precise = args.mode == RenameMode::precise;
    for (const auto& candidate : report.methods) {
        std::cout << candidate.method.selector() << '\t' << candidate.method.file;
        if (precise) {
            std::cout << '\t'
                      << (candidate.protection ? "protected: " + candidate.protection->describe()
                                               : "rename");
        }
        std::cout << '\n';
    }
    printScanSummary(report, std::cerr);
    return done;
}

int runRename(const Arguments& args) {
    Console::shared().setEcho(args.verbose);
    Console::shared().clear();
    const auto options = runOptionsFor(args, std::cerr);
    if (!options) {
        return couldNotStart;
    }
    TerminalObserver observer(args.quiet || args.dryRun);
    const auto report = RenameJob().run(*options, observer);
    observer.finish();
    if (report.refusal) {
        printRefusal(*report.refusal, std::cerr);
        return couldNotStart;
    }
    if (report.dryRun) {
        return printDryRun(report, args.quiet);
    }
    if (report.backupFailed()) {
        printBackupFailure();
        return couldNotStart;
    }
    if (!args.quiet) {
        printRunSummary(report);
    }
    return completion(report);
}

} // namespace quillet::cli
