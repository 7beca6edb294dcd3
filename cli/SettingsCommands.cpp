#include "SettingsCommands.h"

#include <iostream>

#include "Commands.h"
#include "paths/PathRule.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"

namespace quillet::cli {

int runSettingsShow() {
    const auto& settings = SettingModel::shared();
    std::cout << "backup directory: " << settings.backupPath << "\n"
              << "method prefix: " << settings.methodPrefix << "\n";
    return done;
}

int runSettingsSet(const Arguments& args) {
    auto& settings = SettingModel::shared();
    const std::string backupPath = args.backupDir.value_or(settings.backupPath);
    if (!isAcceptedPath(backupPath)) {
        std::cerr << "保存失败: 路径含有特殊符号\n";
        return couldNotStart;
    }
    settings.backupPath = backupPath;
    if (args.prefix) {
        settings.methodPrefix = *args.prefix;
    }
    if (!Cacher::shared().save(settings)) {
        std::cerr << "quillet-cli: the settings could not be stored in "
                  << Cacher::shared().userDefault.path() << "; see the log\n";
        return couldNotStart;
    }
    std::cout << "保存成功\n";
    return done;
}

} // namespace quillet::cli
