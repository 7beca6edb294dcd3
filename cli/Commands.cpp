#include "Commands.h"

#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>

#include <unistd.h>

#include "JsonOutput.h"
#include "ProjectScan.h"
#include "RunJson.h"
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
    if (!report.typeNames.empty()) {
        std::cerr << "classes, protocols and properties renamed: " << report.typesRenamed()
                  << " of " << report.typeNames.size() << "\n";
    }
    printReuse(report, std::cerr);
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
              << (report.nameListPath.empty() ? "" : "name list: " + report.nameListPath + "\n")
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
            std::cout << "# " << change.path << ": " << change.note << "\n";
        } else {
            std::cout << change.diff;
        }
    }
    printLeftOut(report);
    if (!quiet) {
        printReuse(report, std::cerr);
        std::cerr << "dry run: " << report.pairs.size() << " methods";
        if (!report.typeNames.empty()) {
            std::cerr << " and " << report.typeRenames.size()
                      << " classes, protocols and properties";
        }
        std::cerr << " would be renamed in " << report.changes.size()
                  << " files; nothing was written\n";
    }
}

// The run's options, or nothing after saying why there are none.
std::optional<RunOptions> optionsOrSay(const Arguments& args) {
    auto options = runOptionsFor(args);
    if (options) {
        return std::move(options).value();
    }
    const std::string& message = options.error().message;
    if (args.json) {
        RunReport nothing;
        auto document = runJson(args, nothing, {couldNotStart, "refused"});
        document["refusal"] = {{"reason", "wordsFile"}, {"message", message}};
        printJson(document);
    } else {
        std::cerr << "quillet-cli: " << message << "\n";
    }
    return std::nullopt;
}

void printMethods(const RunReport& report) {
    const bool precise = report.mode == RenameMode::precise;
    for (const auto& candidate : report.methods) {
        std::cout << candidate.method.selector() << '\t' << candidate.method.file;
        if (precise) {
            std::cout << '\t'
                      << (candidate.protection ? "protected: " + candidate.protection->describe()
                                               : "rename");
        }
        std::cout << '\n';
    }
    // A selector holds no space, so these lines never read as a method's.
    for (const auto& type : report.typeNames) {
        std::cout << kindWord(type.kind) << ' ' << type.name << '\t'
                  << (type.protection ? "protected: " + type.protection->describe() : "rename")
                  << '\n';
    }
    printScanSummary(report, std::cerr);
}

void printRenameReport(const Arguments& args, const RunReport& report, const RunOptions& options) {
    if (report.dryRun) {
        printDryRun(report, args.quiet);
    } else if (report.backupFailed()) {
        std::cerr << "quillet-cli: " << backupFailureMessage(report.backup->error(), options)
                  << "\n";
    } else {
        if (!args.quiet) {
            printRunSummary(report);
        }
        printCompletion(report);
    }
}

// Says how the run ended, as text or as the one JSON document, and gives its exit status.
int conclude(const Arguments& args, const RunReport& report, const RunOptions& options) {
    const bool writes = args.command == Command::rename || args.command == Command::unrename;
    const auto outcome = outcomeOf(report, writes && !report.dryRun);
    if (args.json) {
        auto document = runJson(args, report, outcome);
        if (report.refusal) {
            document["refusal"] =
                refusalJson(*report.refusal, refusalMessage(report, args, options));
        }
        printJson(document);
    } else if (report.refusal) {
        std::cerr << "quillet-cli: " << refusalMessage(report, args, options) << "\n";
    } else if (args.command == Command::methods) {
        printMethods(report);
    } else {
        printRenameReport(args, report, options);
    }
    return outcome.exitStatus;
}

// Runs `job` (a rename, or one renaming back) with the run's options and says how it ended.
int runWriting(const Arguments& args,
               const std::function<RunReport(const RunOptions&, RunObserver&)>& job) {
    Console::shared().clear();
    const auto options = optionsOrSay(args);
    if (!options) {
        return couldNotStart;
    }
    TerminalObserver progress(stderr);
    RunObserver silent;
    const bool quiet = args.quiet || args.json;
    const auto report = job(*options, quiet ? silent : progress);
    progress.finish();
    return conclude(args, report, *options);
}

} // namespace

int runMethods(const Arguments& args) {
    const auto options = optionsOrSay(args);
    if (!options) {
        return couldNotStart;
    }
    // Progress only where someone watches: the list itself may go to a pipe or a file.
    TerminalObserver progress(stderr);
    RunObserver silent;
    const bool watched = !args.json && ::isatty(STDERR_FILENO) != 0;
    const auto report = RenameJob().scan(*options, watched ? progress : silent);
    progress.finish();
    return conclude(args, report, *options);
}

int runRename(const Arguments& args) {
    // The log on standard output would break the JSON document there.
    Console::shared().setEcho(args.verbose && !args.json);
    return runWriting(args, [](const RunOptions& options, RunObserver& observer) {
        return RenameJob().run(options, observer);
    });
}

int runUnrename(const Arguments& args) {
    return runWriting(args, [&](const RunOptions& options, RunObserver& observer) {
        return RenameJob().unrename(options, args.namesFile, observer);
    });
}

} // namespace quillet::cli
