#include "fs/DirectoryLister.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <dirent.h>
#include <sys/stat.h>

namespace quillet::fs {

namespace {

struct Entry {
    std::string name;
    bool isFolder;
};

std::optional<std::vector<Entry>> readFolder(const std::string& path) {
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) {
        return std::nullopt;
    }
    std::vector<Entry> entries;
    while (const dirent* item = ::readdir(folder)) {
        const std::string name = item->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        bool isFolder = item->d_type == DT_DIR;
        if (item->d_type == DT_UNKNOWN) {
            struct stat info {};
            isFolder = ::lstat((path + "/" + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.push_back({name, isFolder});
    }
    ::closedir(folder);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

// One open level of the walk: a folder's sorted entries and how far we got.
struct Level {
    std::string prefix; // relative path of the folder plus "/", empty for the root
    std::vector<Entry> entries;
    std::size_t next = 0;
};

} // namespace

Result<Listing> listRecursively(const std::string& root) {
    auto top = readFolder(root);
    if (!top) {
        return Error{"Could not list " + root + ": " + std::strerror(errno)};
    }
    Listing listing;
    // An explicit stack, so a very deep tree cannot exhaust the call stack.
    std::vector<Level> stack;
    stack.push_back(Level{"", std::move(*top), 0});
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const Entry entry = level.entries[level.next++];
        std::string relative = level.prefix + entry.name;
        listing.subpaths.push_back(relative);
        if (!entry.isFolder) {
            continue;
        }
        if (auto contents = readFolder(root + "/" + relative)) {
            stack.push_back(Level{relative + "/", std::move(*contents), 0});
        } else {
            listing.unlistedFolders.push_back(std::move(relative));
        }
    }
    return listing;
}

} // namespace quillet::fs
