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
    return nlohmann::json{
        {"backupPath", backupPath},       {"methodPrefix", methodPrefix},
        {"classPrefix", classPrefix},     {"preciseMode", preciseMode},
        {"renameUnary", renameUnary},     {"renameProperties", renameProperties},
        {"renameClasses", renameClasses}, {"renameProtocols", renameProtocols},
        {"sdkFolders", sdkFolders},       {"protectedSelectors", protectedSelectors},
        {"reusedNames", reusedNames}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<SettingModel> SettingModel::decode(std::string_view archive) {
    const auto json = nlohmann::json::parse(archive, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        return std::nullopt;
    }
    SettingModel model;
    const auto take = [&json](const char* key, auto& field,
                              bool (nlohmann::json::*isType)() const) {
        if (const auto it = json.find(key); it != json.end() && ((*it).*isType)()) {
            it->get_to(field);
        }
    };
    take("backupPath", model.backupPath, &nlohmann::json::is_string);
    take("methodPrefix", model.methodPrefix, &nlohmann::json::is_string);
    take("classPrefix", model.classPrefix, &nlohmann::json::is_string);
    take("preciseMode", model.preciseMode, &nlohmann::json::is_boolean);
    take("renameUnary", model.renameUnary, &nlohmann::json::is_boolean);
    take("renameProperties", model.renameProperties, &nlohmann::json::is_boolean);
    take("renameClasses", model.renameClasses, &nlohmann::json::is_boolean);
    take("renameProtocols", model.renameProtocols, &nlohmann::json::is_boolean);
    if (const auto it = json.find("sdkFolders"); it != json.end() && it->is_array()) {
        model.sdkFolders = stringsOf(*it);
    }
    if (const auto it = json.find("protectedSelectors"); it != json.end() && it->is_array()) {
        model.protectedSelectors = stringsOf(*it);
    }
    if (const auto it = json.find("reusedNames"); it != json.end() && it->is_object()) {
        for (const auto& [project, file] : it->items()) {
            if (file.is_string()) {
                model.reusedNames.emplace(project, file.get<std::string>());
            }
        }
    }
    return model;
}

} // namespace quillet
