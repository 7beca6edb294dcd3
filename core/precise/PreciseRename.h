#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/RenameStrategy.h"
#include "precise/NameKinds.h"
#include "precise/PropertyNameScan.h"
#include "precise/ProtectionRules.h"
#include "precise/SourceFile.h"

namespace quillet {

class NameGuard;
class ProjectIndex;

// The precise mode: the project's tokens, every exact use of a selector project-wide, and never
// a selector that is not the project's own to rename. It reads ignored files and interface files
// too, to learn what they use, and refuses new names that already mean something.
class PreciseRename final : public RenameStrategy {
public:
    explicit PreciseRename(ProtectionInputs inputs = {}, NameKinds kinds = {});
    ~PreciseRename() override;

    bool reads(const std::string& rootPath, const std::string& subpath,
               bool ignored) const override;
    bool leavesAlone(const std::string& subpath) const override;
    void load(const std::string& fullPath, bool ignored) override;
    std::size_t fileCount() const override { return files_.size(); }
    const ProjectFile& file(std::size_t index) const override { return files_[index]; }
    std::vector<std::size_t>
    ownHeaders(const std::vector<std::size_t>& besideImplementation) override;
    Collection collect(const std::vector<std::size_t>& ownHeaders) override;
    bool admit(const MethodModel& name) override;
    void rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) override;
    std::vector<TypeName> typeNames() const override { return typeNames_; }
    bool admitTypeName(TypeName::Kind kind, const std::string& name) override;
    void rewriteTypeNames(const std::vector<TypeRename>& renames, const std::string& rootPath,
                          const std::vector<std::string>& listedPaths) override;
    std::vector<UnparsedFile> problems() const override;
    std::vector<std::string> readingNotes() const override;
    // The Swift files read (for the names they use; they are never written).
    std::size_t swiftFilesRead() const;

private:
    const ProjectIndex& index();
    // What an own header declares keeps its name when its implementation file is one of the
    // sources that could not be read.
    void keepNamesBesideUnreadableSources(const std::vector<std::size_t>& ownHeaders,
                                          text::StringMap<ProtectionReason>& protections);
    void collectTypeNames();
    void keepUnaryNamesWrittenElsewhere(const SelectorSet& candidates,
                                        text::StringMap<ProtectionReason>& protections);

    std::vector<SourceFile> files_;
    ProtectionInputs inputs_;
    NameKinds kinds_;
    std::unique_ptr<ProjectIndex> index_;
    std::unique_ptr<NameGuard> guard_;
    std::vector<TypeName> typeNames_;
    SelectorSet namesTaken_; // what a new class, protocol or property name must not be
    text::StringMap<PropertyNameScan::Candidate> propertyCandidates_;
};

} // namespace quillet
