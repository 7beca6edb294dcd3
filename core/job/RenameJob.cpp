#include "job/RenameJob.h"

#include <sys/stat.h>

#include "backup/FolderBackup.h"
#include "engine/WordCountRule.h"
#include "log/Log.h"
#include "paths/PathRule.h"

namespace quillet {

RenameJob::RenameJob(RenameRequest request, RandomSource& random)
    : request_(std::move(request)), tool_(random, request_.mode) {
    tool_.setMethodPrefix(request_.methodPrefix);
}

std::optional<RenameRefusal> RenameJob::prepare(const std::string& cacheFolder) {
    using Reason = RenameRefusal::Reason;
    const std::string& project = request_.project;
    if (!isAcceptedPath(project)) {
        return RenameRefusal{Reason::illegalPath, project};
    }
    struct stat info {};
    if (::stat(project.c_str(), &info) != 0) {
        return RenameRefusal{Reason::noSuchFolder, project};
    }
    if (!S_ISDIR(info.st_mode)) {
        return RenameRefusal{Reason::notAFolder, project};
    }
    std::string why;
    lock_ = fs::FolderLock::take(project, why);
    if (!lock_) {
        return RenameRefusal{Reason::busy, project + ": " + why};
    }
    if (request_.mode == RenameMode::precise) {
        auto prepared = prepareProtection(request_.protection, cacheFolder);
        if (!prepared.error.empty()) {
            return RenameRefusal{Reason::protectionUnreadable, prepared.error};
        }
        sdks_ = std::move(prepared.sdks);
        tool_.setProtectionInputs(std::move(prepared.inputs));
    }
    tool_.setRootPath(project);
    if (!tool_.loadFiles(request_.ignore)) {
        return RenameRefusal{Reason::noHeaders, project};
    }
    tool_.collectMethods();
    return std::nullopt;
}

std::optional<std::string> RenameJob::wordShortage(const std::vector<std::string>& words) {
    if (words.empty()) {
        return std::nullopt;
    }
    const auto need = wordsNeeded(selectorPieceCount(tool_.allMethodNames()));
    if (words.size() >= need) {
        return std::nullopt;
    }
    return notEnoughWordsMessage(words.size(), need);
}

std::optional<std::vector<RenamePair>> RenameJob::makeNames(const std::vector<std::string>& words) {
    return tool_.makeNewNames(words);
}

std::optional<std::string> RenameJob::backUp(const std::string& backupDirectory) const {
    return backupFolder(request_.project, backupDirectory);
}

void RenameJob::rename(const std::vector<RenamePair>& pairs) {
    for (const auto* file : tool_.unreadableFiles()) {
        QLOG_AS("replace(factor:)", "Not read, left as it was: " + file->inPath(), file->problem());
    }
    tool_.replace(pairs);
}

bool RenameJob::complete() const {
    const auto& report = tool_.writeReport();
    return report.listWritten && report.failed == 0 && tool_.unreadableFiles().empty();
}

} // namespace quillet
