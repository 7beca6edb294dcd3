#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/ProjectFile.h"
#include "engine/ProtectionReason.h"
#include "engine/TypeName.h"
#include "text/StringHash.h"

namespace quillet {

// A file a run leaves as it is because its mode cannot read it the way it must.
struct UnparsedFile {
    std::string path;
    std::string problem;
};

// What a mode collected from the project's own headers.
struct Collection {
    std::vector<MethodModel> methods;              // as declared, in header order
    text::StringMap<ProtectionReason> protections; // selector -> why it keeps its name
};

// Told, on the thread that runs the rewrite, that the work of pair `index` (from 0) is under way
// or done; called once per pair, in order.
using PairProgress = std::function<void(std::size_t index)>;
// Told how many files of how many are read, or written.
using FileProgress = std::function<void(std::size_t done, std::size_t total)>;

// What differs between the ways a run decides what to rewrite. The engine lists the project,
// picks the headers, orders the methods, makes the names and writes the files; a mode reads the
// files it needs, collects declarations, refuses names and rewrites text in memory. A mode
// knows nothing of the run around it.
class RenameStrategy {
public:
    virtual ~RenameStrategy() = default;

    // Whether the mode reads the file at `subpath` of the project at `rootPath`; an ignored one
    // is never written.
    virtual bool reads(const std::string& rootPath, const std::string& subpath,
                       bool ignored) const = 0;
    // Whether the file at `subpath` is read as an ignored one whatever the user ignores: code a
    // package manager put there, say.
    virtual bool leavesAlone(const std::string& /*subpath*/) const { return false; }
    // Reads one file and appends it to the loaded files.
    virtual void load(const std::string& fullPath, bool ignored) = 0;
    virtual std::size_t fileCount() const = 0;
    virtual const ProjectFile& file(std::size_t index) const = 0;

    // The loaded headers whose declarations a run collects, given those that are not ignored and
    // have an implementation file beside them.
    virtual std::vector<std::size_t>
    ownHeaders(const std::vector<std::size_t>& besideImplementation) {
        return besideImplementation;
    }
    // The methods the given loaded headers declare, and which of them keep their names.
    virtual Collection collect(const std::vector<std::size_t>& ownHeaders) = 0;
    // Whether a new name may be given; an admitted name is taken.
    virtual bool admit(const MethodModel& name) = 0;
    // Rewrites the loaded files in memory for the pairs, in order.
    virtual void rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) = 0;
    // The classes, protocols and properties the mode renames besides methods, known after
    // collect(); none unless the run asks for those kinds.
    virtual std::vector<TypeName> typeNames() const { return {}; }
    // Whether a new name of that kind may be given; an admitted name is taken.
    virtual bool admitTypeName(TypeName::Kind /*kind*/, const std::string& /*name*/) {
        return true;
    }
    // Rewrites the loaded files in memory for the renamed classes, protocols and properties,
    // after rewrite(), in the project at `rootPath` whose entries (relative to it) are
    // `listedPaths`; a file may be given a new path.
    virtual void rewriteTypeNames(const std::vector<TypeRename>& /*renames*/,
                                  const std::string& /*rootPath*/,
                                  const std::vector<std::string>& /*listedPaths*/) {}
    // What the mode read besides the files it may rewrite, as lines for the run's summary.
    virtual std::vector<std::string> readingNotes() const { return {}; }
    // Files read but left as they are, with why.
    virtual std::vector<UnparsedFile> problems() const = 0;
};

} // namespace quillet
