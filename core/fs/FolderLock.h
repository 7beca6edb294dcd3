#pragma once

#include <string>

#include "base/Result.h"

namespace quillet::fs {

// An exclusive hold on a folder for as long as it lives, taken on the folder itself, so every
// process that renames (the window and the cli alike) sees it, and a killed process lets go.
class FolderLock {
public:
    // Fails when another process holds the folder, or it cannot be opened; the error names the
    // folder and says which ("<folder>: another run is working on it").
    static Result<FolderLock> take(const std::string& folder);

    FolderLock(FolderLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

private:
    explicit FolderLock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace quillet::fs
