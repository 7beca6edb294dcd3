#include "SettingsCommands.h"

#include <iostream>

#include "Commands.h"
#include "RunMessages.h"
#include "fs/SourceReader.h"
#include "job/StoredKinds.h"
#include "paths/PathRule.h"
#include "precise/ProtectionSetup.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"

namespace quillet::cli {

int runSettingsShow() {
    const auto& settings = SettingModel::shared();
    std::cout << "backup directory: " << settings.backupPath << "\n"
              << "method prefix: " << settings.methodPrefix << "\n"
              << "class prefix: " << settings.classPrefix << "\n"
              << "rename mode in the app: " << (settings.preciseMode ? "precise" : "literal")
              << "\n"
              << "kinds of names a precise run renames: " << storedKinds(settings).text() << "\n";
    for (const auto& folder : settings.sdkFolders) {
        std::cout << "SDK folder: " << folder << "\n";
    }
    for (const auto& selector : settings.protectedSelectors) {
        std::cout << "protected selector: " << selector << "\n";
    }
    return done;
}

int runSettingsSet(const Arguments& args) {
    auto& settings = SettingModel::shared();
    const std::string backupPath = args.backupDir.value_or(settings.backupPath);
    if (!isAcceptedPath(backupPath)) {
        std::cerr << "quillet-cli: cannot store the backup directory " << backupPath << ": "
                  << pathRuleText << "; nothing was stored\n";
        return couldNotStart;
    }
    if (!isAcceptedBackupDirectory(backupPath)) {
        std::cerr << "quillet-cli: the backup directory must be a full path (starting with /): "
                  << backupPath << "\n";
        return couldNotStart;
    }
    std::optional<std::vector<std::string>> protectedSelectors;
    if (!args.protectFiles.empty()) {
        const auto list = fs::SourceReader::read(args.protectFiles.front());
        if (!list) {
            std::cerr << "quillet-cli: cannot read the selector list " << args.protectFiles.front()
                      << ": " << list.error().message << "\n";
            return couldNotStart;
        }
        protectedSelectors = selectorsOfList(list->text);
    }
    settings.backupPath = backupPath;
    if (args.prefix) {
        settings.methodPrefix = *args.prefix;
    }
    if (args.classPrefix) {
        settings.classPrefix = *args.classPrefix;
    }
    if (args.kinds) {
        storeKinds(settings, *args.kinds);
    }
    if (args.noSdk || !args.sdkFolders.empty()) {
        settings.sdkFolders = args.sdkFolders;
    }
    if (protectedSelectors) {
        settings.protectedSelectors = std::move(*protectedSelectors);
    }
    if (!Cacher::shared().save(settings)) {
        std::cerr << "quillet-cli: the settings could not be stored in "
                  << Cacher::shared().userDefault.path() << "; see the log\n";
        return couldNotStart;
    }
    std::cout << "settings stored\n";
    return done;
}

} // namespace quillet::cli
