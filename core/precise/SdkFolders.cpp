#include "precise/SdkFolders.h"

#include <sys/stat.h>

#include "process/ProgramOutput.h"

namespace quillet {

namespace {

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::vector<std::string> platformSdkFolders() {
    std::vector<std::string> folders;
#ifdef __APPLE__
    for (const char* sdk : {"iphoneos", "macosx"}) {
        auto path = outputOf({"xcrun", "--sdk", sdk, "--show-sdk-path"});
        while (path && !path->empty() && (path->back() == '\n' || path->back() == '\r')) {
            path->pop_back();
        }
        if (path && !path->empty() && isFolder(*path)) {
            folders.push_back(*path);
        }
    }
#else
    for (const char* root : {"/usr/include/GNUstep", "/usr/local/include/GNUstep",
                             "/usr/GNUstep/System/Library/Headers"}) {
        for (const char* framework : {"/Foundation", "/AppKit"}) {
            const std::string folder = std::string(root) + framework;
            if (isFolder(folder)) {
                folders.push_back(folder);
            }
        }
    }
#endif
    return folders;
}

} // namespace quillet
