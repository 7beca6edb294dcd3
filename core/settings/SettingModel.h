#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The user's settings: where backups go and the prefix of new method names.
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

    // The keyed form: {"backupPath": ..., "methodPrefix": ...}.
    std::string encode() const;
    // Starts from the defaults and takes every key that holds a string; nothing when the text is
    // not a JSON object at all.
    static std::optional<SettingModel> decode(std::string_view archive);
};

} // namespace quillet
