#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "backup/FolderBackup.h"
#include "base/Result.h"
#include "engine/MRenameTool.h"
#include "engine/RenameMode.h"
#include "engine/TypeName.h"
#include "job/VendoredFolders.h"
#include "precise/ProtectionSetup.h"

namespace quillet {

// Why a run stopped before writing anything.
struct RunRefusal {
    enum class Reason {
        illegalPath,          // the path rule refuses the folder
        invalidPrefix,        // the method prefix is not one a selector can start with
        invalidClassPrefix,   // the class prefix is not one a type name can start with
        namesUnreadable,      // the names file to reuse cannot be read or is not one
        namesTakenSince,      // renaming back would make two names one (the detail lists them)
        noSuchFolder,         // nothing there
        notAFolder,           // something else there
        busy,                 // another run holds the folder
        protectionUnreadable, // an SDK folder or selector list the user gave cannot be read
        unreadable,           // files or folders below the project cannot be read
        noHeaders,            // no header has an implementation file beside it
        notEnoughWords,       // the words cannot name every method
        wordsRanOut,          // enough words, but too few different ones
    };
    Reason reason;
    std::string detail; // the folder, or what could not be read, or the message to show
};

// One method the scan collected, and why it keeps its name when it does.
struct MethodReport {
    MethodModel method;
    std::optional<ProtectionReason> protection;
};

// A file a dry run would write: the unified diff of its bytes, which applies as it is, or, where
// the bytes are not UTF-8 text a patch can hold, only a note of what changes.
struct FileChange {
    std::string path; // relative to the project
    std::string diff; // empty when only a note can say it
    std::string note; // "would be written back as UTF-8", ...
};

// Everything a run found and did; each front end says it in its own way.
struct RunReport {
    std::string project;
    RenameMode mode = RenameMode::precise;
    std::optional<RunRefusal> refusal;

    // What the scan found.
    // Files and folders below the project that cannot be read at all (full paths, a folder's
    // ending in "/"): a run is refused while there are any, unless it is told to skip them.
    std::vector<UnparsedFile> inaccessible;
    std::size_t filesLoaded = 0; // read, of the files the mode reads
    // Files the mode reads but could not (full paths), left as they are.
    std::vector<UnparsedFile> unreadableFiles;
    std::vector<SdkReport> sdks;
    std::vector<UnparsedFile> unparsedFiles; // read, but left as they are
    std::vector<std::string> readingNotes;   // what else the mode read, one line each
    std::size_t headers = 0;                 // headers with an implementation beside them
    std::vector<MethodReport> methods;       // the candidates, longest first
    std::size_t protectedMethods = 0;
    // The classes, protocols and properties the project defines, when those kinds are asked for.
    std::vector<TypeName> typeNames;
    std::size_t selectorPieces = 0; // of the methods renamed
    std::size_t wordsNeeded = 0;
    // Folders that look like someone else's library although the run rewrites them.
    std::vector<VendoredFolder> vendoredFolders;

    // What the run did.
    std::vector<RenamePair> pairs;
    std::vector<TypeRename> typeRenames;
    // With names reused: how many were given again, those listed that were given fresh names
    // because theirs now mean something else, and how many listed names the project no longer
    // has (kept in the new table, marked unused).
    std::size_t namesReused = 0;
    std::vector<NameEntry> renamedAfresh;
    std::size_t namesCarried = 0;
    bool dryRun = false;
    std::vector<FileChange> changes; // a dry run's
    // The archive made before writing; nothing when none was asked for or the run stopped first.
    std::optional<Result<std::string, BackupFailure>> backup;
    WriteReport writes;
    std::string nameListPath;

    bool backupFailed() const { return backup && !backup->ok(); }
    // Methods given new names in the project.
    std::size_t renamed() const { return writes.listWritten ? pairs.size() : 0; }
    // Classes, protocols and properties given new names in the project.
    std::size_t typesRenamed() const { return writes.listWritten ? typeRenames.size() : 0; }
    // Of the classes, protocols and properties found, those that keep their names.
    std::size_t protectedTypes() const {
        return static_cast<std::size_t>(
            std::count_if(typeNames.begin(), typeNames.end(),
                          [](const TypeName& name) { return name.protection.has_value(); }));
    }
    // Whether the run left the project as a whole: the list written and every source read and
    // written (a file not read may still use a renamed method).
    bool complete() const {
        return writes.listWritten && writes.failed == 0 && unreadableFiles.empty() &&
               inaccessible.empty();
    }
};

} // namespace quillet
