#include "settings/SettingModel.h"

#include <nlohmann/json.hpp>

#include "paths/HomeFolder.h"
#include "settings/Cacher.h"

namespace quillet {

SettingModel::SettingModel() : backupPath(homeFolder() + "/Quillet/Backup") {}

SettingModel& SettingModel::shared() {
    static SettingModel model = Cacher::shared().read<SettingModel>();
    return model;
}

namespace {

// The strings of a JSON array; other elements are skipped.
std::vector<std::string> stringsOf(const nlohmann::json& array) {
    std::vector<std::string> strings;
    for (const auto& element : array) {
        if (element.is_string()) {
            strings.push_back(element.get<std::string>());
        }
    }
    return strings;
}

} // namespace

std::string SettingModel::encode() const {
    // JSON holds UTF-8 only; a byte that is not (the front ends refuse such texts) is written as
    // U+FFFD rather than failing the whole record.
    return nlohmann::json{{"backupPath", backupPath},
                          {"methodPrefix", methodPrefix},
                          {"preciseMode", preciseMode},
                          {"sdkFolders", sdkFolders},
                          {"protectedSelectors", protectedSelectors}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<SettingModel> SettingModel::decode(std::string_view archive) {
    const auto json = nlohmann::json::parse(archive, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return std::nullopt;
    }
    SettingModel model;
    if (const auto it = json.find("backupPath"); it != json.end() && it->is_string()) {
        model.backupPath = it->get<std::string>();
    }
    if (const auto it = json.find("methodPrefix"); it != json.end() && it->is_string()) {
        model.methodPrefix = it->get<std::string>();
    }
    if (const auto it = json.find("preciseMode"); it != json.end() && it->is_boolean()) {
        model.preciseMode = it->get<bool>();
    }
    if (const auto it = json.find("sdkFolders"); it != json.end() && it->is_array()) {
        model.sdkFolders = stringsOf(*it);
    }
    if (const auto it = json.find("protectedSelectors"); it != json.end() && it->is_array()) {
        model.protectedSelectors = stringsOf(*it);
    }
    return model;
}

} // namespace quillet
