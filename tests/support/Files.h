#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillet::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // Writes a file below the folder (creating its folders) and returns its full path.
    std::string write(const std::string& relative, std::string_view content) const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);
// Every regular file below `root`, relative path -> content; for comparing whole trees.
std::string treeDump(const std::filesystem::path& root);

} // namespace quillet::test
