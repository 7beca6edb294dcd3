#include "job/RunOptions.h"

#include "engine/WordCountRule.h"
#include "job/StoredKinds.h"
#include "paths/CacheFolder.h"
#include "settings/SettingModel.h"
#include "wordbank/WordModel.h"

namespace quillet {

RunOptions RunOptions::stored(std::string project, RenameMode mode) {
    const auto& settings = SettingModel::shared();
    RunOptions options;
    options.project = std::move(project);
    options.mode = mode;
    options.methodPrefix = settings.methodPrefix;
    options.classPrefix = settings.classPrefix;
    if (const auto it = settings.reusedNames.find(options.project);
        it != settings.reusedNames.end()) {
        options.reuseNames = it->second;
    }
    if (mode == RenameMode::precise) {
        options.kinds = storedKinds(settings);
    }
    options.protection = {settings.sdkFolders, {}, settings.protectedSelectors};
    options.cacheFolder = quillet::cacheFolder();
    options.words = wordList(WordModel::loadLocal().text);
    options.backupDirectory = settings.backupPath;
    return options;
}

} // namespace quillet
