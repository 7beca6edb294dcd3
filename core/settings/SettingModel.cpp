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

std::string SettingModel::encode() const {
    return nlohmann::json{{"backupPath", backupPath}, {"methodPrefix", methodPrefix}}.dump();
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
    return model;
}

} // namespace quillet
