#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The user's settings: where backups go, the prefixes of new names and what a rename renames.
class SettingModel {
public:
    // The defaults, with the home folder read now.
    SettingModel();

    // The one record the whole process reads and changes; read from the store on first use.
    static SettingModel& shared();

    // The record's key in the defaults store: the type's bare name.
    static constexpr std::string_view archiveKey = "SettingModel";

    std::string backupPath;
    std::string methodPrefix;
    // Put in front of every new class and protocol name.
    std::string classPrefix;
    // Rename with the precise mode (protecting the SDK's and the runtime's selectors).
    bool preciseMode = true;
    // Besides the methods that take arguments, what a precise rename renames.
    bool renameUnary = false;
    bool renameProperties = false;
    bool renameClasses = false;
    bool renameProtocols = false;
    // SDK folders whose headers a precise rename protects, besides the platform's own.
    std::vector<std::string> sdkFolders;
    // Selectors a precise rename never touches.
    std::vector<std::string> protectedSelectors;
    // For a project folder, the names file whose names its runs give again.
    std::map<std::string, std::string> reusedNames;

    // The keyed form: {"backupPath": ..., "methodPrefix": ..., "classPrefix": ...,
    // "preciseMode": ..., "renameUnary": ..., "renameProperties": ..., "renameClasses": ...,
    // "renameProtocols": ..., "sdkFolders": [...], "protectedSelectors": [...],
    // "reusedNames": {project: file}}. Never fails: bytes
    // that are not UTF-8 become U+FFFD.
    std::string encode() const;
    // Starts from the defaults and takes every key that holds a value of its type, so records
    // written before a key existed still decode; nothing when the text is not a JSON object.
    static std::optional<SettingModel> decode(std::string_view archive);
};

} // namespace quillet
