#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/NameGenerator.h"
#include "engine/RenameTool.h"
#include "random/RandomSource.h"

namespace quillet {

// How the write-back of a run went.
struct WriteReport {
    std::size_t written = 0;
    std::size_t unchanged = 0;
    std::size_t failed = 0;
    bool listWritten = false;
};

// The rename engine for one run: scan, collect the declared methods, make new names, rewrite.
// Call in this order: setRootPath, loadFiles, collectMethods, makeNewNames, replace.
class MRenameTool : public RenameTool {
public:
    explicit MRenameTool(RandomSource& random = RandomSource::system()) : names_(random) {}

    // Loads every .h/.m/.mm below the root, except sub-paths starting with an ignored prefix.
    // True when at least one header has an implementation file beside it.
    bool loadFiles(const std::vector<std::string>& ignoring);
    // Folders below the root that could not be listed during loadFiles.
    const std::vector<std::string>& unlistedFolders() const { return unlistedFolders_; }
    const std::vector<std::string>& headerFiles() const { return headerFiles_; }

    void collectMethods();
    void parseDeclaration(std::string_view declaration, const std::string& file);
    // Distinct selectors, longest first; fixed at the first read.
    const std::vector<MethodModel>& allMethodNames();

    void setMethodPrefix(std::string prefix) { methodPrefix_ = std::move(prefix); }
    // One pair per method; an empty word list means random names. Nothing when the words ran out.
    std::optional<std::vector<RenamePair>> makeNewNames(const std::vector<std::string>& words);
    std::optional<std::string> pickWord(const std::vector<std::string>& words) {
        return names_.pickWord(words);
    }
    std::string randomString(std::size_t length, bool lettersOnly) {
        return names_.randomString(length, lettersOnly);
    }
    const std::vector<std::string>& exclude() const { return names_.exclude(); }

    // Rewrites every file in memory, then writes the files back and the name list beside the
    // project. Always true; failed writes are logged and counted in writeReport().
    bool replace(const std::vector<RenamePair>& factor);
    const WriteReport& writeReport() const { return writeReport_; }

    // Writes the files and the name list, as the end of replace() does.
    void writeOutputs(const std::string& nameList);

private:
    std::vector<std::string> headerFiles_;
    std::vector<std::size_t> headerFileIndex_; // position in allFiles of each header
    std::vector<std::string> unlistedFolders_;
    std::vector<MethodModel> collected_;
    std::optional<std::vector<MethodModel>> allMethodNames_;
    std::string methodPrefix_;
    NameGenerator names_;
    WriteReport writeReport_;
};

} // namespace quillet
