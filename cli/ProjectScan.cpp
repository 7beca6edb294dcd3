#include "ProjectScan.h"

#include <sys/stat.h>

#include "engine/WordCountRule.h"
#include "log/Log.h"
#include "paths/PathRule.h"

namespace quillet::cli {

namespace {

inline constexpr std::string_view noHeadersMessage = "查找头文件失败";

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

bool scanProject(MRenameTool& tool, const Arguments& args, std::ostream& err) {
    if (!isAcceptedPath(args.project)) {
        err << illegalPathTitle << ": " << illegalPathMessage << "\n";
        return false;
    }
    struct stat info {};
    if (::stat(args.project.c_str(), &info) != 0) {
        err << "quillet-cli: no such folder: " << args.project << "\n";
        return false;
    }
    if (!isFolder(args.project)) {
        err << "quillet-cli: not a folder: " << args.project << "\n";
        return false;
    }
    tool.setRootPath(args.project);
    if (!tool.loadFiles(args.ignore)) {
        QLOG(std::string(noHeadersMessage));
        err << noHeadersMessage << "\n";
        return false;
    }
    tool.collectMethods();
    return true;
}

void printScanSummary(MRenameTool& tool, std::ostream& err) {
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
    const auto& methods = tool.allMethodNames();
    const auto pieces = selectorPieceCount(methods);
    err << "headers kept: " << tool.headerFiles().size() << "\n";
    err << "methods: " << methods.size() << "\n";
    err << "selector pieces: " << pieces << "\n";
    err << "words needed: " << wordsNeeded(pieces) << "\n";
}

} // namespace quillet::cli
