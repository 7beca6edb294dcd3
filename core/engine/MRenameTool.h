#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/NameGenerator.h"
#include "engine/RenameMode.h"
#include "engine/RenameTool.h"
#include "precise/ProtectionReason.h"
#include "precise/ProtectionRules.h"
#include "random/RandomSource.h"

namespace quillet {

class NameGuard;
class ProjectIndex;

// A file a precise run leaves as it is because it cannot be read as Objective-C.
struct UnparsedFile {
    std::string path;
    std::string problem;
};

// How the write-back of a run went. The name list is written first: when it cannot be, no
// source file is written at all.
struct WriteReport {
    std::size_t written = 0;
    std::size_t unchanged = 0;
    std::size_t failed = 0;
    bool listWritten = false;
    bool synced = false; // the written files reached the disk
};

// The rename engine for one run: scan, collect the declared methods, make new names, rewrite.
// Call in this order: setRootPath, loadFiles, collectMethods, makeNewNames, replace.
class MRenameTool : public RenameTool {
public:
    explicit MRenameTool(RandomSource& random = RandomSource::system(),
                         RenameMode mode = RenameMode::literal);
    ~MRenameTool() override;

    RenameMode mode() const { return mode_; }
    // Precise mode: the SDK's selectors and the user's list; set before collectMethods.
    void setProtectionInputs(ProtectionInputs inputs) { inputs_ = std::move(inputs); }

    // Loads every .h/.m/.mm below the root, except sub-paths starting with an ignored prefix.
    // The precise mode also loads .xib and .storyboard files, and loads ignored files to learn
    // what they use (they are never written).
    // True when at least one header has an implementation file beside it.
    bool loadFiles(const std::vector<std::string>& ignoring);
    // Folders below the root that could not be listed during loadFiles.
    const std::vector<std::string>& unlistedFolders() const { return unlistedFolders_; }
    const std::vector<std::string>& headerFiles() const { return headerFiles_; }

    void collectMethods();
    void parseDeclaration(std::string_view declaration, const std::string& file);
    // The distinct methods collected, longest first; fixed at the first read.
    const std::vector<MethodModel>& candidateMethods();
    // The methods the run renames: the candidates less the protected ones.
    const std::vector<MethodModel>& allMethodNames();
    // Precise mode: why a candidate keeps its name, or null when it is renamed.
    const ProtectionReason* protectionOf(const std::string& selector) const;
    std::size_t protectedCount() const { return protected_.size(); }
    // Precise mode: the files left as they are because they cannot be read as Objective-C.
    std::vector<UnparsedFile> unparsedFiles() const;

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
    // The in-memory part of replace(): rewrites the files; returns the name list.
    std::string rewrite(const std::vector<RenamePair>& factor);
    const WriteReport& writeReport() const { return writeReport_; }

    // Writes the name list, then the files, then makes them durable, as the end of replace()
    // does. Temporary files a killed run left in the project are removed first.
    void writeOutputs(const std::string& nameList);
    // The files below the root that could not be read: never written, and the project may no
    // longer build if they use a renamed method.
    std::vector<const FileModel*> unreadableFiles() const;

private:
    void collectFromTokens();
    std::optional<MethodModel> newNameFor(const MethodModel& method,
                                          const std::vector<std::string>& words);

    RenameMode mode_;
    std::vector<std::string> headerFiles_;
    std::vector<std::size_t> headerFileIndex_; // position in allFiles of each header
    std::vector<std::string> unlistedFolders_;
    std::vector<std::string> listedPaths_; // every entry below the root, for stale temporaries
    std::vector<MethodModel> collected_;
    std::optional<std::vector<MethodModel>> candidates_;
    std::optional<std::vector<MethodModel>> allMethodNames_;
    std::string methodPrefix_;
    NameGenerator names_;
    WriteReport writeReport_;
    ProtectionInputs inputs_;
    std::unique_ptr<ProjectIndex> index_;
    text::StringMap<ProtectionReason> protected_;
    std::unique_ptr<NameGuard> guard_;
};

} // namespace quillet
