#include "ProjectScan.h"

#include "engine/WordCountRule.h"
#include "log/Log.h"
#include "paths/CacheFolder.h"
#include "paths/PathRule.h"
#include "settings/SettingModel.h"

namespace quillet::cli {

namespace {

inline constexpr std::string_view noHeadersMessage = "查找头文件失败";

void printPreciseSummary(RenameJob& job, std::ostream& err) {
    for (const auto& sdk : job.sdks()) {
        err << "SDK: " << sdk.folder << " (" << sdk.headers << " headers, " << sdk.selectors
            << " selectors" << (sdk.fromCache ? ", cached" : "") << ")\n";
    }
    if (job.sdks().empty()) {
        err << "SDK: none found; selectors of the platform are not protected (give --sdk DIR)\n";
    }
    const auto unparsed = job.tool().unparsedFiles();
    err << "files left as they are (not read as Objective-C): " << unparsed.size() << "\n";
    for (const auto& file : unparsed) {
        err << "  " << file.path << ": " << file.problem << "\n";
    }
}

} // namespace

RenameRequest requestFor(const Arguments& args) {
    const auto& settings = SettingModel::shared();
    RenameRequest request;
    request.project = args.project;
    request.mode = args.mode;
    request.ignore = args.ignore;
    request.methodPrefix = args.prefix.value_or(settings.methodPrefix);
    request.protection = {settings.sdkFolders, args.protectFiles, settings.protectedSelectors};
    request.protection.sdkFolders.insert(request.protection.sdkFolders.end(),
                                         args.sdkFolders.begin(), args.sdkFolders.end());
    return request;
}

bool prepareJob(RenameJob& job, std::ostream& err) {
    const auto refusal = job.prepare(cacheFolder());
    if (!refusal) {
        return true;
    }
    using Reason = RenameRefusal::Reason;
    switch (refusal->reason) {
    case Reason::illegalPath:
        err << illegalPathTitle << ": " << illegalPathMessage << "\n";
        break;
    case Reason::noSuchFolder:
        err << "quillet-cli: no such folder: " << refusal->detail << "\n";
        break;
    case Reason::notAFolder:
        err << "quillet-cli: not a folder: " << refusal->detail << "\n";
        break;
    case Reason::busy:
        err << "quillet-cli: " << refusal->detail << "; nothing was written\n";
        break;
    case Reason::protectionUnreadable:
        err << "quillet-cli: " << refusal->detail << "\n";
        break;
    case Reason::noHeaders:
        QLOG(std::string(noHeadersMessage));
        err << noHeadersMessage << "\n";
        break;
    }
    return false;
}

void printScanSummary(RenameJob& job, std::ostream& err) {
    auto& tool = job.tool();
    const auto unreadable = tool.unreadableFiles();
    err << "files loaded: " << tool.allFiles().size() - unreadable.size() << "\n";
    err << "unreadable files skipped: " << unreadable.size() << "\n";
    for (const auto* file : unreadable) {
        err << "  " << file->inPath() << ": " << file->problem() << "\n";
    }
    for (const auto& folder : tool.unlistedFolders()) {
        err << "  " << tool.rootPath() << "/" << folder << "/: folder could not be listed\n";
    }
    if (tool.mode() == RenameMode::precise) {
        printPreciseSummary(job, err);
    }
    const auto& methods = tool.allMethodNames();
    const auto pieces = selectorPieceCount(methods);
    err << "headers kept: " << tool.headerFiles().size() << "\n";
    if (tool.mode() == RenameMode::precise) {
        err << "methods: " << tool.candidateMethods().size() << " (rename " << methods.size()
            << ", protected " << tool.protectedCount() << ")\n";
    } else {
        err << "methods: " << methods.size() << "\n";
    }
    err << "selector pieces: " << pieces << "\n";
    err << "words needed: " << wordsNeeded(pieces) << "\n";
}

} // namespace quillet::cli
