#include "Commands.h"

#include <cstdio>
#include <iostream>

#include "DryRun.h"
#include "ProgressBar.h"
#include "ProjectScan.h"
#include "WordFile.h"
#include "backup/FolderBackup.h"
#include "engine/WordCountRule.h"
#include "log/Console.h"
#include "notify/Notify.h"
#include "settings/SettingModel.h"
#include "wordbank/WordModel.h"

namespace quillet::cli {

int runMethods(const Arguments& args) {
    MRenameTool tool(RandomSource::system(), args.mode);
    const auto scan = scanProject(tool, args, std::cerr);
    if (!scan) {
        return couldNotStart;
    }
    const bool precise = args.mode == RenameMode::precise;
    for (const auto& method : tool.candidateMethods()) {
        std::cout << method.selector() << '\t' << method.file;
        if (precise) {
            const auto* reason = tool.protectionOf(method.selector());
            std::cout << '\t' << (reason ? "protected: " + reason->describe() : "rename");
        }
        std::cout << '\n';
    }
    printScanSummary(tool, *scan, std::cerr);
    return done;
}

namespace {

// The words of the run: none in random mode, else the words file's or the default bank's.
std::optional<std::vector<std::string>> wordsFor(const Arguments& args, MRenameTool& tool) {
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
    const auto need = wordsNeeded(selectorPieceCount(tool.allMethodNames()));
    if (words.size() < need) {
        std::cerr << notEnoughWordsMessage(words.size(), need) << "\n";
        return std::nullopt;
    }
    return words;
}

// Zips the project into the backup directory. Without a backup nothing is rewritten: the
// project's files are the user's only copy.
bool backUp(const Arguments& args) {
    const auto archive = backupFolder(args.project, SettingModel::shared().backupPath);
    if (!args.quiet || !archive) {
        std::cerr << "代码备份" << archive.value_or("失败") << "\n";
    }
    if (!archive) {
        std::cerr << "quillet-cli: the project was not changed; fix the backup directory (see "
                  << Console::shared().path() << ") or rename with --no-backup\n";
    }
    return archive.has_value();
}

void printRunSummary(MRenameTool& tool, std::size_t renamed) {
    const auto& report = tool.writeReport();
    std::cerr << "methods renamed: " << renamed << "\n";
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
    MRenameTool tool(RandomSource::system(), args.mode);
    tool.setMethodPrefix(args.prefix.value_or(SettingModel::shared().methodPrefix));
    if (!scanProject(tool, args, std::cerr)) {
        return couldNotStart;
    }
    const auto words = wordsFor(args, tool);
    if (!words) {
        return couldNotStart;
    }
    const auto pairs = tool.makeNewNames(*words);
    if (!pairs) {
        std::cerr << "quillet-cli: the words ran out: the list holds too few different words\n";
        return couldNotStart;
    }
    if (args.dryRun) {
        return dryRun(tool, *pairs, args.quiet);
    }
    if (args.backup && !backUp(args)) {
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
    tool.replace(*pairs);
    Notify::center().removeObserver(&token);
    if (progress) {
        progress->finish();
    }
    if (!args.quiet) {
        printRunSummary(tool, pairs->size());
    }
    const auto& report = tool.writeReport();
    if (report.failed > 0 || !report.listWritten) {
        std::cerr << "quillet-cli: some files could not be written; see "
                  << Console::shared().path() << "\n";
        return writeFailures;
    }
    return done;
}

} // namespace quillet::cli
