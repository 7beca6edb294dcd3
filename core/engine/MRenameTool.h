#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/NameGenerator.h"
#include "engine/ProtectionReason.h"
#include "engine/RenameStrategy.h"
#include "engine/RenameTexts.h"
#include "engine/ReusedNames.h"
#include "fs/DirectoryLister.h"
#include "random/RandomSource.h"
#include "text/StringHash.h"

namespace quillet {

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
// Call in this order: setRootPath, loadFiles, collectMethods, makeNewNames, replace. What to
// read and rewrite is its mode's decision (the literal one unless another is given); the order
// of a run, the names and the writing are the engine's.
class MRenameTool {
public:
    explicit MRenameTool(RandomSource& random = RandomSource::system(),
                         std::unique_ptr<RenameStrategy> mode = nullptr);
    ~MRenameTool();
    MRenameTool(const MRenameTool&) = delete;
    MRenameTool& operator=(const MRenameTool&) = delete;

    RenameStrategy& mode() { return *mode_; }
    const RenameStrategy& mode() const { return *mode_; }

    const std::string& rootPath() const { return rootPath_; }
    void setRootPath(std::string path) { rootPath_ = std::move(path); }

    // Loads the files below the root that the mode reads. Sub-paths starting with an ignored
    // prefix are loaded only if the mode wants to learn what they use; they are never written.
    // True when the mode found at least one header of the project's own (by default, one that is
    // not ignored and has an implementation file beside it).
    bool loadFiles(const std::vector<std::string>& ignoring);
    // The same, of a listing of the root already made; `progress` is told of each file read.
    bool loadFiles(const fs::Listing& listing, const std::vector<std::string>& ignoring,
                   const FileProgress& progress = {});
    // Folders below the root that could not be listed during loadFiles.
    const std::vector<std::string>& unlistedFolders() const { return unlistedFolders_; }
    const std::vector<std::string>& headerFiles() const { return headerFiles_; }
    // Every entry below the root, relative to it, in listing order.
    const std::vector<std::string>& listedPaths() const { return listedPaths_; }
    // Every loaded file, in listing order.
    std::vector<const ProjectFile*> files() const;

    void collectMethods();
    // Adds the method a declaration names, if any, to what collectMethods collected.
    void parseDeclaration(std::string_view declaration, const std::string& file);
    // The distinct methods collected, longest first; fixed at the first read.
    const std::vector<MethodModel>& candidateMethods();
    // The methods the run renames: the candidates less the protected ones.
    const std::vector<MethodModel>& allMethodNames();
    // Why a candidate keeps its name, or null when it is renamed.
    const ProtectionReason* protectionOf(const std::string& selector) const;
    std::size_t protectedCount() const { return protected_.size(); }
    // The files left as they are because the mode cannot read them the way it must.
    std::vector<UnparsedFile> unparsedFiles() const { return mode_->problems(); }

    void setMethodPrefix(std::string prefix) { methodPrefix_ = std::move(prefix); }
    // Gives the names an earlier run gave again (see ReusedNames), from the next makeNewNames
    // and makeTypeNames on.
    void reuseNames(NameTable earlier) { reused_.emplace(std::move(earlier)); }
    const ReusedNames* reusedNames() const { return reused_ ? &*reused_ : nullptr; }
    // One pair per method; an empty word list means random names. Nothing when the words ran out
    // or no free name was found.
    std::optional<std::vector<RenamePair>> makeNewNames(const std::vector<std::string>& words);
    // One new name per class, protocol and property the mode renames: the class prefix, then
    // two words (or random letters) in UpperCamel form for a class or protocol, the method prefix
    // and lowerCamel for a property. Nothing when the words ran out or no free name was found.
    std::optional<std::vector<TypeRename>> makeTypeNames(const std::vector<std::string>& words,
                                                         const std::string& classPrefix);
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
    // The in-memory part of replace(): rewrites the files and returns the name list. Posts the
    // progress notification of each pair, and tells `progress` too when given.
    std::string rewrite(const std::vector<RenamePair>& factor, const PairProgress& progress = {});
    const WriteReport& writeReport() const { return writeReport_; }
    // Renames the classes and protocols in memory, after rewrite(); the mode may move files.
    void rewriteTypeNames(const std::vector<TypeRename>& renames) {
        mode_->rewriteTypeNames(renames, rootPath_, listedPaths_);
    }
    // The files that writing moves to a new name, in listing order.
    std::vector<MovedFile> movedFiles() const;

    // Writes the name list and the table of every name (each when given: a run that renames
    // back writes neither), then the files, then makes them durable, as the end of replace()
    // does. Temporary files a killed run left in the project are removed first.
    void writeOutputs(const std::optional<std::string>& nameList, const FileProgress& progress = {},
                      const std::optional<std::string>& nameTable = std::nullopt);
    // Whether the mode may give these names now (see RenameStrategy::admit); a name given is
    // taken.
    bool mayGive(const MethodModel& name) { return mode_->admit(name); }
    bool mayGiveTypeName(TypeName::Kind kind, const std::string& name) {
        return mode_->admitTypeName(kind, name);
    }
    // The files below the root that could not be read: never written, and the project may no
    // longer build if they use a renamed method.
    std::vector<const ProjectFile*> unreadableFiles() const;

private:
    std::optional<MethodModel> newNameFor(const MethodModel& method,
                                          const std::vector<std::string>& words);
    std::optional<std::string> newTypeName(const std::vector<std::string>& words,
                                           const std::string& classPrefix);
    std::optional<std::string> newPropertyName(const std::vector<std::string>& words);
    // Once the moved files' new names are durable, removes their old ones; a file whose old name
    // stays is counted as failed.
    void removeMovedFiles(std::vector<ProjectFile::WriteResult>& results) const;

    std::unique_ptr<RenameStrategy> mode_;
    std::string rootPath_;
    std::vector<std::string> headerFiles_;
    std::vector<std::size_t> headerFileIndex_; // position among the loaded files of each header
    std::vector<std::string> unlistedFolders_;
    std::vector<std::string> listedPaths_; // every entry below the root, for stale temporaries
    std::vector<MethodModel> collected_;
    std::optional<std::vector<MethodModel>> candidates_;
    std::optional<std::vector<MethodModel>> allMethodNames_;
    text::StringMap<ProtectionReason> protected_;
    std::string methodPrefix_;
    NameGenerator names_;
    std::optional<ReusedNames> reused_;
    WriteReport writeReport_;
};

} // namespace quillet
