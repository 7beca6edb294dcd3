#include "ProjectScan.h"

#include <sys/stat.h>

#include "engine/WordCountRule.h"
#include "log/Log.h"
#include "paths/CacheFolder.h"
#include "paths/PathRule.h"
#include "settings/SettingModel.h"

namespace quillet::cli {

namespace {

inline constexpr std::string_view noHeadersMessage = "查找头文件失败";

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The settings' SDK folders and selectors, then the command line's.
std::optional<ScanInfo> prepare(MRenameTool& tool, const Arguments& args, std::ostream& err) {
    const auto& settings = SettingModel::shared();
    ProtectionSources sources{settings.sdkFolders, args.protectFiles, settings.protectedSelectors};
    sources.sdkFolders.insert(sources.sdkFolders.end(), args.sdkFolders.begin(),
                              args.sdkFolders.end());
    auto prepared = prepareProtection(sources, cacheFolder());
    if (!prepared.error.empty()) {
        err << "quillet-cli: " << prepared.error << "\n";
        return std::nullopt;
    }
    tool.setProtectionInputs(std::move(prepared.inputs));
    return ScanInfo{std::move(prepared.sdks)};
}

} // namespace

std::optional<ScanInfo> scanProject(MRenameTool& tool, const Arguments& args, std::ostream& err) {
    if (!isAcceptedPath(args.project)) {
        err << illegalPathTitle << ": " << illegalPathMessage << "\n";
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(args.project.c_str(), &info) != 0) {
        err << "quillet-cli: no such folder: " << args.project << "\n";
        return std::nullopt;
    }
    if (!isFolder(args.project)) {
        err << "quillet-cli: not a folder: " << args.project << "\n";
        return std::nullopt;
    }
    ScanInfo scan;
    if (tool.mode() == RenameMode::precise) {
        auto prepared = prepare(tool, args, err);
        if (!prepared) {
            return std::nullopt;
        }
        scan = std::move(*prepared);
    }
    tool.setRootPath(args.project);
    if (!tool.loadFiles(args.ignore)) {
        QLOG(std::string(noHeadersMessage));
        err << noHeadersMessage << "\n";
        return std::nullopt;
    }
    tool.collectMethods();
    return scan;
}

namespace {

void printPreciseSummary(MRenameTool& tool, const ScanInfo& info, std::ostream& err) {
    for (const auto& sdk : info.sdks) {
        err << "SDK: " << sdk.folder << " (" << sdk.headers << " headers, " << sdk.selectors
            << " selectors" << (sdk.fromCache ? ", cached" : "") << ")\n";
    }
    if (info.sdks.empty()) {
        err << "SDK: none found; selectors of the platform are not protected (give --sdk DIR)\n";
    }
    const auto unparsed = tool.unparsedFiles();
    err << "files left as they are (not read as Objective-C): " << unparsed.size() << "\n";
    for (const auto& file : unparsed) {
        err << "  " << file.path << ": " << file.problem << "\n";
    }
}

} // namespace

void printScanSummary(MRenameTool& tool, const ScanInfo& info, std::ostream& err) {
    std::size_t unreadable = 0;
    for (const auto& file : tool.allFiles()) {
        unreadable += file.readable() ? 0 : 1;
    }
    err << "files loaded: " << tool.allFiles().size() - unreadable << "\n";
    err << "unreadable files skipped: " << unreadable << "\n";
    for (const auto& file : tool.allFiles()) {
        if (!file.readable()) {
            err << "  " << file.inPath() << ": " << file.problem() << "\n";
        }
    }
    for (const auto& folder : tool.unlistedFolders()) {
        err << "  " << tool.rootPath() << "/" << folder << "/: folder could not be listed\n";
    }
    if (tool.mode() == RenameMode::precise) {
        printPreciseSummary(tool, info, err);
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
