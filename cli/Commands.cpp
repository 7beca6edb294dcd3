#include "Commands.h"

#include <cstdio>
#include <iostream>

#include "DryRun.h"
#include "ProgressBar.h"
#include "ProjectScan.h"
#include "WordFile.h"
#include "engine/WordCountRule.h"
#include "log/Console.h"
#include "notify/Notify.h"
#include "settings/SettingModel.h"
#include "wordbank/WordModel.h"

namespace quillet::cli {

int runMethods(const Arguments& args) {
    RenameJob job(requestFor(args));
    if (!prepareJob(job, std::cerr)) {
        return couldNotStart;
    }
    const auto& tool = job.tool();
    const bool precise = args.mode == RenameMode::precise;
    for (const auto& method : job.tool().candidateMethods()) {
        std::cout << method.selector() << '\t' << method.file;
        if (precise) {
            const auto* reason = tool.protectionOf(method.selector());
            std::cout << '\t' << (reason ? "protected: " + reason->describe() : "rename");
        }
        std::cout << '\n';
    }
    printScanSummary(job, std::cerr);
    return done;
}

namespace {

// The words of the run: none in random mode, else the words file's or the default bank's.
std::optional<std::vector<std::string>> wordsFor(const Arguments& args, RenameJob& job) {
    if (args.random) {
        return std::vector<std::string>{};
    }
    std::vector<std::string> words;
    if (args.wordsFile) {
        auto read = readWordFile(*args.wordsFile);
        if (!read.words) {
            std::cerr << "quillet-cli: " << read.error << "\n";
            return std::nullopt;
        }
        words = std::move(*read.words);
    } else {
        words = wordList(WordModel::loadLocal().text);
    }
    if (const auto shortage = job.wordShortage(words)) {
        std::cerr << *shortage << "\n";
        return std::nullopt;
    }
    return words;
}

// Zips the project into the backup directory. Without a backup nothing is rewritten: the
// project's files are the user's only copy.
bool backUp(const Arguments& args, const RenameJob& job) {
    const auto archive = job.backUp(SettingModel::shared().backupPath);
    if (!args.quiet || !archive) {
        std::cerr << "代码备份" << archive.value_or("失败") << "\n";
    }
    if (!archive) {
        std::cerr << "quillet-cli: the project was not changed; fix the backup directory (see "
                  << Console::shared().path() << ") or rename with --no-backup\n";
    }
    return archive.has_value();
}

void printRunSummary(const RenameJob& job, std::size_t renamed) {
    const auto& tool = job.tool();
    const auto& report = tool.writeReport();
    std::cerr << "methods renamed: " << (report.listWritten ? renamed : 0) << "\n";
    if (tool.mode() == RenameMode::precise) {
        std::cerr << "methods protected: " << tool.protectedCount() << "\n";
        for (const auto& file : tool.unparsedFiles()) {
            std::cerr << "left as it is: " << file.path << ": " << file.problem << "\n";
        }
    }
    std::cerr << "files changed: " << report.written << " (unchanged " << report.unchanged
              << ", failed " << report.failed << ")\n"
              << "name list: " << tool.rootPath() << "/MethodReplaceList.txt"
              << (report.listWritten ? "" : " (could not be written)") << "\n"
              << "log: " << Console::shared().path() << "\n";
}

// What keeps a finished run from being whole, always said, even with --quiet.
int completion(const RenameJob& job) {
    const auto& tool = job.tool();
    const auto& report = tool.writeReport();
    if (!report.listWritten) {
        std::cerr << "quillet-cli: the name list could not be written, so the project was not "
                     "changed; see "
                  << Console::shared().path() << "\n";
        return couldNotStart;
    }
    for (const auto* file : tool.unreadableFiles()) {
        std::cerr << "not read, left as it was (it may use renamed methods): " << file->inPath()
                  << ": " << file->problem() << "\n";
    }
    if (!job.complete()) {
        std::cerr << "quillet-cli: some files could not be written or read; see "
                  << Console::shared().path() << "\n";
        return writeFailures;
    }
    return done;
}

// Rewrites in memory only and shows what would change.
int dryRun(MRenameTool& tool, const std::vector<RenamePair>& pairs, bool quiet) {
    tool.rewrite(pairs);
    const std::size_t files = printChanges(tool, std::cout);
    if (!quiet) {
        std::cerr << "dry run: " << pairs.size() << " methods would be renamed in " << files
                  << " files; nothing was written\n";
    }
    return done;
}

} // namespace

int runRename(const Arguments& args) {
    Console::shared().setEcho(args.verbose);
    Console::shared().clear();
    RenameJob job(requestFor(args));
    if (!prepareJob(job, std::cerr)) {
        return couldNotStart;
    }
    const auto words = wordsFor(args, job);
    if (!words) {
        return couldNotStart;
    }
    const auto pairs = job.makeNames(*words);
    if (!pairs) {
        std::cerr << "quillet-cli: the words ran out: the list holds too few different words\n";
        return couldNotStart;
    }
    if (args.dryRun) {
        return dryRun(job.tool(), *pairs, args.quiet);
    }
    if (args.backup && !backUp(args, job)) {
        return couldNotStart;
    }
    std::optional<ProgressBar> progress;
    if (!args.quiet) {
        progress.emplace(stderr, pairs->size());
    }
    int token = 0;
    Notify::add(
        &token,
        [&](const PostedNotification&) {
            if (progress) {
                progress->advance();
            }
        },
        Notification::progress);
    job.rename(*pairs);
    Notify::center().removeObserver(&token);
    if (progress) {
        progress->finish();
    }
    if (!args.quiet) {
        printRunSummary(job, pairs->size());
    }
    return completion(job);
}

} // namespace quillet::cli
