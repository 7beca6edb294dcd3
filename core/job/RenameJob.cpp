#include "job/RenameJob.h"

#include <algorithm>

#include <sys/stat.h>

#include "backup/FolderBackup.h"
#include "engine/MRenameTool.h"
#include "engine/MethodPrefix.h"
#include "engine/RenameTexts.h"
#include "engine/WordCountRule.h"
#include "fs/FolderLock.h"
#include "fs/ReadCheck.h"
#include "job/PlannedChanges.h"
#include "job/RenameStrategies.h"
#include "log/Log.h"
#include "paths/PathRule.h"
#include "precise/RuntimeSelectors.h"
#include "text/Text.h"

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
        // A path a run skips because it cannot be read is named once, among those.
        const bool skipped =
            std::any_of(report.inaccessible.begin(), report.inaccessible.end(),
                        [&](const UnparsedFile& entry) { return entry.path == file->inPath(); });
        if (!skipped) {
            report.unreadableFiles.push_back({file->inPath(), file->problem()});
        }
    }
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
    report.typeNames = tool.mode().typeNames();
    const auto renamedTypes = std::count_if(report.typeNames.begin(), report.typeNames.end(),
                                            [](const TypeName& type) { return !type.protection; });
    report.wordsNeeded = wordsNeeded(report.selectorPieces +
                                     static_cast<std::size_t>(renamedTypes) * wordsPerTypeName);
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

// How many listed names were given again, and which were given fresh ones.
void noteReusedNames(const MRenameTool& tool, RunReport& report) {
    const auto* reused = tool.reusedNames();
    if (reused == nullptr) {
        return;
    }
    const auto givenAgain = [&](NameEntry::Kind kind, const std::string& from,
                                const std::string& to) {
        const auto* entry = reused->earlier().find(kind, from);
        return entry != nullptr && entry->to == to;
    };
    for (const auto& pair : report.pairs) {
        const std::string from = pair.old.selector();
        report.namesReused += givenAgain(entryKindOfSelector(from), from, pair.new_.selector());
    }
    for (const auto& type : report.typeRenames) {
        report.namesReused += givenAgain(entryKindOf(type.kind), type.from, type.to);
    }
    report.renamedAfresh = reused->renamedAfresh();
    for (const auto& entry : report.renamedAfresh) {
        QLOG(std::string(kindWord(entry.kind)) + " " + entry.from +
             " can no longer keep the name " + entry.to +
             ": it means something else now; given a fresh one");
    }
}

// Zips the project when a backup directory is given; false when that failed. Without a backup
// nothing is rewritten: the project's files are the user's only copy.
bool backUp(const RunOptions& options, RunReport& report, RunObserver& observer) {
    if (!options.backupDirectory) {
        return true;
    }
    const auto archiving = [&](std::uint64_t done, std::uint64_t total) {
        observer.phaseProgress(RunPhase::backup, done, total);
    };
    report.backup.emplace(backupFolder(options.project, *options.backupDirectory,
                                       std::chrono::system_clock::now(), archiving));
    return report.backup->ok();
}

// The kinds of names a table holds, so that a run renaming back reads what each needs.
NameKinds kindsOf(const NameTable& table) {
    NameKinds kinds;
    for (const auto& entry : table.entries()) {
        switch (entry.kind) {
        case NameEntry::Kind::unary:
            kinds.add(NameKind::unary);
            break;
        case NameEntry::Kind::property:
            kinds.add(NameKind::properties);
            break;
        case NameEntry::Kind::classType:
            kinds.add(NameKind::classes);
            break;
        case NameEntry::Kind::protocolType:
            kinds.add(NameKind::protocols);
            break;
        case NameEntry::Kind::method:
        case NameEntry::Kind::file:
            break;
        }
    }
    return kinds;
}

// The renames that undo a table: each new name back to its old one. An old name the project
// has gained since would make two names one: each is named in `conflicts`.
void undoingRenames(const NameTable& table, MRenameTool& tool, RunReport& report,
                    std::vector<std::string>& conflicts) {
    for (const auto& entry : table.entries()) {
        if (entry.unused || entry.kind == NameEntry::Kind::file) {
            continue;
        }
        const auto word = std::string(kindWord(entry.kind));
        if (entry.kind == NameEntry::Kind::method || entry.kind == NameEntry::Kind::unary) {
            RenamePair back{MethodModel{selectorPieces(entry.to), {}},
                            MethodModel{selectorPieces(entry.from), {}}};
            if (!tool.mayGive(back.new_)) {
                conflicts.push_back(word + " " + entry.from);
            }
            report.pairs.push_back(std::move(back));
        } else {
            const auto kind = typeKindOf(entry.kind);
            // A property's old name may stay behind as a variable's: only its accessors, as
            // selectors, would clash.
            const bool free =
                kind == TypeName::Kind::property
                    ? tool.mayGive(MethodModel{{entry.from}, {}}) &&
                          tool.mayGive(MethodModel{{setterKeyword(entry.from) + ":"}, {}})
                    : tool.mayGiveTypeName(kind, entry.from);
            if (!free) {
                conflicts.push_back(word + " " + entry.from);
            }
            report.typeRenames.push_back({kind, entry.to, entry.from});
        }
    }
}

} // namespace

// Lists the project and reads every file in it once: a file or folder that cannot be read
// refuses the run before anything is written, unless the run is told to skip such paths.
std::optional<fs::Listing> listProject(const RunOptions& options, RunReport& report,
                                       RunObserver& observer) {
    observer.phaseProgress(RunPhase::listing, 0, 0);
    auto listing = fs::listRecursively(options.project);
    if (!listing) {
        report.inaccessible.push_back({options.project + "/", listing.error().message});
    } else {
        const auto checking = [&](std::size_t done, std::size_t total) {
            observer.phaseProgress(RunPhase::listing, done, total);
        };
        for (auto& entry : fs::unreadableEntries(options.project, *listing, checking)) {
            report.inaccessible.push_back({std::move(entry.path), std::move(entry.problem)});
        }
    }
    for (const auto& entry : report.inaccessible) {
        QLOG("cannot be read: " + entry.path + ": " + entry.problem);
    }
    if (!listing || (!report.inaccessible.empty() && !options.skipUnreadable)) {
        refuse(report, RunRefusal::Reason::unreadable,
               std::to_string(report.inaccessible.size()) + " files or folders cannot be read");
        return std::nullopt;
    }
    return std::move(listing).value();
}

std::optional<RenameJob::OpenProject> RenameJob::open(const RunOptions& options, RunReport& report,
                                                      RunObserver& observer) {
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
    auto listing = listProject(options, report, observer);
    if (!listing) {
        return std::nullopt;
    }
    for (const auto& entry : report.inaccessible) {
        protection.unreadableSources.push_back(entry.path);
    }
    auto tool = std::make_unique<MRenameTool>(
        random_, strategyFor(options.mode, std::move(protection), options.kinds));
    tool->setRootPath(project);
    tool->setMethodPrefix(options.methodPrefix);
    const auto reading = [&](std::size_t done, std::size_t total) {
        observer.phaseProgress(RunPhase::reading, done, total);
    };
    if (!tool->loadFiles(*listing, options.ignore, reading)) {
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

RunReport RenameJob::scan(const RunOptions& options, RunObserver& observer) {
    RunReport report;
    open(options, report, observer);
    return report;
}

RunReport RenameJob::run(const RunOptions& options, RunObserver& observer) {
    using Reason = RunRefusal::Reason;
    RunReport report;
    report.dryRun = options.dryRun;
    if (!isValidMethodPrefix(options.methodPrefix)) {
        // A prefix stored by an older version may hold anything; it would end up in the code.
        report.project = options.project;
        report.mode = options.mode;
        refuse(report, Reason::invalidPrefix, options.methodPrefix);
        return report;
    }
    if (!isValidClassPrefix(options.classPrefix)) {
        report.project = options.project;
        report.mode = options.mode;
        refuse(report, Reason::invalidClassPrefix, options.classPrefix);
        return report;
    }
    std::optional<NameTable> earlier;
    if (options.reuseNames) {
        auto read = NameTable::read(*options.reuseNames);
        if (!read) {
            report.project = options.project;
            report.mode = options.mode;
            refuse(report, Reason::namesUnreadable, read.error().message);
            return report;
        }
        earlier = std::move(*read);
    }
    auto opened = open(options, report, observer);
    if (!opened) {
        return report;
    }
    MRenameTool& tool = *opened->tool;
    if (earlier) {
        tool.reuseNames(std::move(*earlier));
    }
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
    auto typeRenames = tool.makeTypeNames(words, options.classPrefix);
    if (!typeRenames) {
        refuse(report, Reason::wordsRanOut, {});
        return report;
    }
    report.typeRenames = std::move(*typeRenames);
    noteReusedNames(tool, report);
    const auto progress = [&](std::size_t index) {
        observer.progress(index + 1, report.pairs.size(),
                          progressText(index + 1, report.pairs.size(), report.pairs[index]));
        observer.phaseProgress(RunPhase::renaming, index + 1, report.pairs.size());
    };
    if (options.dryRun) {
        observer.phaseProgress(RunPhase::renaming, 0, report.pairs.size());
        tool.rewrite(report.pairs, progress);
        tool.rewriteTypeNames(report.typeRenames);
        report.changes = plannedChanges(tool);
        return report;
    }
    if (!backUp(options, report, observer)) {
        return report;
    }
    observer.aboutToRename(report);
    for (const auto* file : tool.unreadableFiles()) {
        QLOG_AS("replace(factor:)", "Not read, left as it was: " + file->inPath(), file->problem());
    }
    observer.phaseProgress(RunPhase::renaming, 0, report.pairs.size());
    const std::string nameList = tool.rewrite(report.pairs, progress);
    tool.rewriteTypeNames(report.typeRenames);
    // The table records every kind and what a reused table held; a run of methods alone, with
    // nothing reused, leaves the project as it always has.
    std::optional<std::string> table;
    if (options.kinds.beyondMethods() || tool.reusedNames() != nullptr) {
        auto names = nameTable(report.pairs, report.typeRenames, tool.movedFiles());
        if (const auto* reused = tool.reusedNames()) {
            report.namesCarried = names.carryOver(reused->earlier());
        }
        table = names.text(
            nameTableHeader(options.mode == RenameMode::precise ? "precise" : "literal"));
    }
    tool.writeOutputs(
        nameList,
        [&](std::size_t done, std::size_t total) {
            observer.phaseProgress(RunPhase::writing, done, total);
        },
        table);
    report.writes = tool.writeReport();
    return report;
}

RunReport RenameJob::unrename(const RunOptions& options, const std::string& names,
                              RunObserver& observer) {
    using Reason = RunRefusal::Reason;
    RunReport report;
    report.dryRun = options.dryRun;
    report.project = options.project;
    report.mode = RenameMode::precise;
    auto table = NameTable::read(names);
    if (!table) {
        refuse(report, Reason::namesUnreadable, table.error().message);
        return report;
    }
    RunOptions back = options;
    back.mode = RenameMode::precise;
    back.kinds = kindsOf(*table);
    auto opened = open(back, report, observer);
    if (!opened) {
        return report;
    }
    MRenameTool& tool = *opened->tool;
    report.nameListPath.clear(); // the lists stay: they record names a release shipped with
    std::vector<std::string> conflicts;
    undoingRenames(*table, tool, report, conflicts);
    if (!conflicts.empty()) {
        refuse(report, Reason::namesTakenSince, text::join(conflicts, "\n"));
        return report;
    }
    observer.phaseProgress(RunPhase::renaming, 0, report.pairs.size());
    tool.rewrite(report.pairs);
    tool.rewriteTypeNames(report.typeRenames);
    if (options.dryRun) {
        report.changes = plannedChanges(tool);
        return report;
    }
    if (!backUp(options, report, observer)) {
        return report;
    }
    observer.aboutToRename(report);
    tool.writeOutputs(std::nullopt, [&](std::size_t done, std::size_t total) {
        observer.phaseProgress(RunPhase::writing, done, total);
    });
    report.writes = tool.writeReport();
    return report;
}

} // namespace quillet
