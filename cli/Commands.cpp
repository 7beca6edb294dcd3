#include "Commands.h"

#include <cstdio>
#include <iostream>

#include "ProjectScan.h"
#include "RunMessages.h"
#include "RunOutcome.h"
#include "TerminalObserver.h"
#include "job/RenameJob.h"
#include "log/Console.h"

namespace quillet::cli {

namespace {

// Counts only for a run that went ahead: one stopped before writing renamed nothing.
void printRunSummary(const RunReport& report) {
    const auto& writes = report.writes;
    if (!writes.listWritten) {
        return;
    }
    if (report.backup) {
        std::cerr << "backup: " << report.backup->value() << "\n";
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
    std::cerr << "files changed: " << writes.written << "\n"
              << "files unchanged: " << writes.unchanged << "\n"
              << "files failed: " << writes.failed << "\n"
              << "name list: " << report.nameListPath << "\n"
              << "log: " << Console::shared().path() << "\n";
}

// The files a run left as they were because it could not read them, each named.
void printLeftOut(const RunReport& report) {
    for (const auto& file : report.unreadableFiles) {
        std::cerr << "not read, left as it was (it may use renamed methods): " << file.path << ": "
                  << file.problem << "\n";
    }
    for (const auto& entry : report.inaccessible) {
        std::cerr << "skipped, cannot be read, left as it was: " << entry.path << ": "
                  << entry.problem << "\n";
    }
}

// What keeps a finished run from being whole, always said, even with --quiet.
void printCompletion(const RunReport& report) {
    if (!report.writes.listWritten) {
        std::cerr << "quillet-cli: the name list could not be written, so nothing was renamed "
                     "and the project was not changed; see "
                  << Console::shared().path() << "\n";
        return;
    }
    printLeftOut(report);
    if (report.writes.failed > 0) {
        std::cerr << "quillet-cli: " << report.writes.failed
                  << " files could not be written and were left as they were; see "
                  << Console::shared().path() << "\n";
    }
}

// Shows, as a patch, what the run would change.
void printDryRun(const RunReport& report, bool quiet) {
    for (const auto& change : report.changes) {
        if (change.diff.empty()) {
            std::cout << "# " << change.path << ": would be written back as UTF-8\n";
        } else {
            std::cout << change.diff;
        }
    }
    printLeftOut(report);
    if (!quiet) {
        std::cerr << "dry run: " << report.pairs.size() << " methods would be renamed in "
                  << report.changes.size() << " files; nothing was written\n";
    }
}

} // namespace

int runMethods(const Arguments& args) {
    const auto options = runOptionsFor(args, std::cerr);
    if (!options) {
        return couldNotStart;
    }
    const auto report = RenameJob().scan(*options);
    const auto outcome = outcomeOf(report, false);
    if (report.refusal) {
        std::cerr << "quillet-cli: " << refusalMessage(report, args, *options) << "\n";
        return outcome.exitStatus;
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
    return outcome.exitStatus;
}

int runRename(const Arguments& args) {
    Console::shared().setEcho(args.verbose);
    Console::shared().clear();
    const auto options = runOptionsFor(args, std::cerr);
    if (!options) {
        return couldNotStart;
    }
    TerminalObserver progress(stderr);
    RunObserver silent;
    const auto report = RenameJob().run(*options, args.quiet ? silent : progress);
    progress.finish();
    const auto outcome = outcomeOf(report, !report.dryRun);
    if (report.refusal) {
        std::cerr << "quillet-cli: " << refusalMessage(report, args, *options) << "\n";
    } else if (report.dryRun) {
        printDryRun(report, args.quiet);
    } else if (report.backupFailed()) {
        std::cerr << "quillet-cli: " << backupFailureMessage(report.backup->error(), *options)
                  << "\n";
    } else {
        if (!args.quiet) {
            printRunSummary(report);
        }
        printCompletion(report);
    }
    return outcome.exitStatus;
}

} // namespace quillet::cli
