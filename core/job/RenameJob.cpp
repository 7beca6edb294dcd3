#include "job/RenameJob.h"

#include <sys/stat.h>

#include "backup/FolderBackup.h"
#include "engine/MRenameTool.h"
#include "engine/RenameTexts.h"
#include "engine/WordCountRule.h"
#include "fs/FolderLock.h"
#include "job/PlannedChanges.h"
#include "job/RenameStrategies.h"
#include "log/Log.h"
#include "paths/PathRule.h"

namespace quillet {

// A project checked, held and scanned: what the rest of a run works on.
struct RenameJob::OpenProject {
    fs::FolderLock lock;
    std::unique_ptr<MRenameTool> tool;
};

namespace {

void refuse(RunReport& report, RunRefusal::Reason reason, std::string detail) {
    using Reason = RunRefusal::Reason;
    if (reason == Reason::noSuchFolder || reason == Reason::notAFolder ||
        reason == Reason::noHeaders) {
        // The engine's one failure: no header of the project could be found.
        QLOG_AS("sureAction()", "查找头文件失败");
    }
    report.refusal = RunRefusal{reason, std::move(detail)};
}

// What the scan found, for the report.
void describeScan(MRenameTool& tool, RunReport& report) {
    const auto unreadable = tool.unreadableFiles();
    report.filesLoaded = tool.files().size() - unreadable.size();
    for (const auto* file : unreadable) {
        report.unreadableFiles.push_back({file->inPath(), file->problem()});
    }
    report.unlistedFolders = tool.unlistedFolders();
    report.unparsedFiles = tool.unparsedFiles();
    report.readingNotes = tool.mode().readingNotes();
    report.headers = tool.headerFiles().size();
    for (const auto& method : tool.candidateMethods()) {
        const auto* reason = tool.protectionOf(method.selector());
        report.methods.push_back(
            {method, reason ? std::optional<ProtectionReason>(*reason) : std::nullopt});
    }
    report.protectedMethods = tool.protectedCount();
    report.selectorPieces = selectorPieceCount(tool.allMethodNames());
    report.wordsNeeded = wordsNeeded(report.selectorPieces);
}

// Libraries copied into the project are renamed with it unless the user ignores them; say where
// they seem to be, so that renaming them is a choice.
void noteVendoredFolders(MRenameTool& tool, const RunOptions& options, RunReport& report) {
    auto found = vendoredFolders(tool.listedPaths(), options.ignore, tool.allMethodNames());
    std::erase_if(found, [&](const VendoredFolder& vendored) {
        return tool.mode().leavesAlone(vendored.folder);
    });
    report.vendoredFolders = std::move(found);
    for (const auto& vendored : report.vendoredFolders) {
        QLOG("looks like a library of its own: " + vendored.folder + ", " +
             std::to_string(vendored.methods) + " methods renamed there");
    }
}

} // namespace

std::optional<RenameJob::OpenProject> RenameJob::open(const RunOptions& options,
                                                      RunReport& report) {
    using Reason = RunRefusal::Reason;
    report.project = options.project;
    report.mode = options.mode;
    report.nameListPath = options.project + "/MethodReplaceList.txt";
    const std::string& project = options.project;
    if (!isAcceptedPath(project)) {
        refuse(report, Reason::illegalPath, project);
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(project.c_str(), &info) != 0) {
        refuse(report, Reason::noSuchFolder, project);
        return std::nullopt;
    }
    if (!S_ISDIR(info.st_mode)) {
        refuse(report, Reason::notAFolder, project);
        return std::nullopt;
    }
    auto lock = fs::FolderLock::take(project);
    if (!lock) {
        refuse(report, Reason::busy, lock.error().message);
        return std::nullopt;
    }
    ProtectionInputs protection;
    if (options.mode == RenameMode::precise) {
        auto prepared = prepareProtection(options.protection, options.cacheFolder);
        if (!prepared) {
            refuse(report, Reason::protectionUnreadable, prepared.error().message);
            return std::nullopt;
        }
        for (const auto& sdk : prepared->sdks) {
            QLOG("SDK " + sdk.folder + ": " + std::to_string(sdk.selectors) + " selectors");
        }
        report.sdks = std::move(prepared->sdks);
        protection = std::move(prepared->inputs);
        protection.rewriteVendored = options.includeVendored;
    } else {
        auto listed = protectedByUser(options.protection);
        if (!listed) {
            refuse(report, Reason::protectionUnreadable, listed.error().message);
            return std::nullopt;
        }
        protection.userList = std::move(*listed);
    }
    auto tool =
        std::make_unique<MRenameTool>(random_, strategyFor(options.mode, std::move(protection)));
    tool->setRootPath(project);
    tool->setMethodPrefix(options.methodPrefix);
    if (!tool->loadFiles(options.ignore)) {
        refuse(report, Reason::noHeaders, project);
        return std::nullopt;
    }
    tool->collectMethods();
    describeScan(*tool, report);
    noteVendoredFolders(*tool, options, report);
    for (const auto& file : report.unparsedFiles) {
        QLOG("left as it is: " + file.path + ": " + file.problem);
    }
    return OpenProject{std::move(*lock), std::move(tool)};
}

RunReport RenameJob::scan(const RunOptions& options) {
    RunReport report;
    open(options, report);
    return report;
}

RunReport RenameJob::run(const RunOptions& options, RunObserver& observer) {
    using Reason = RunRefusal::Reason;
    RunReport report;
    report.dryRun = options.dryRun;
    auto opened = open(options, report);
    if (!opened) {
        return report;
    }
    MRenameTool& tool = *opened->tool;
    // No words at all makes names of random letters.
    const std::vector<std::string> words = options.words.value_or(std::vector<std::string>{});
    if (options.words && words.size() < report.wordsNeeded) {
        refuse(report, Reason::notEnoughWords,
               notEnoughWordsMessage(words.size(), report.wordsNeeded));
        return report;
    }
    auto pairs = tool.makeNewNames(words);
    if (!pairs) {
        refuse(report, Reason::wordsRanOut, {});
        return report;
    }
    report.pairs = std::move(*pairs);
    const auto progress = [&](std::size_t index) {
        observer.progress(index + 1, report.pairs.size(),
                          progressText(index + 1, report.pairs.size(), report.pairs[index]));
    };
    if (options.dryRun) {
        tool.rewrite(report.pairs, progress);
        report.changes = plannedChanges(tool);
        return report;
    }
    if (options.backupDirectory) {
        // Without a backup nothing is rewritten: the project's files are the user's only copy.
        report.backup.emplace(backupFolder(options.project, *options.backupDirectory));
        if (!report.backup->ok()) {
            return report;
        }
    }
    observer.aboutToRename(report);
    for (const auto* file : tool.unreadableFiles()) {
        QLOG_AS("replace(factor:)", "Not read, left as it was: " + file->inPath(), file->problem());
    }
    tool.writeOutputs(tool.rewrite(report.pairs, progress));
    report.writes = tool.writeReport();
    return report;
}

} // namespace quillet
