#include "job/RunOptions.h"

#include <utility>

#include "engine/WordCountRule.h"
#include "paths/CacheFolder.h"
#include "settings/SettingModel.h"
#include "wordbank/WordModel.h"

namespace quillet {

namespace {

NameKinds kindsOf(const SettingModel& settings) {
    NameKinds kinds;
    const std::pair<bool, NameKind> asked[] = {{settings.renameUnary, NameKind::unary},
                                               {settings.renameProperties, NameKind::properties},
                                               {settings.renameClasses, NameKind::classes},
                                               {settings.renameProtocols, NameKind::protocols}};
    for (const auto& [on, kind] : asked) {
        if (on) {
            kinds.add(kind);
        }
    }
    return kinds;
}

} // namespace

RunOptions RunOptions::stored(std::string project, RenameMode mode) {
    const auto& settings = SettingModel::shared();
    RunOptions options;
    options.project = std::move(project);
    options.mode = mode;
    options.methodPrefix = settings.methodPrefix;
    options.classPrefix = settings.classPrefix;
    if (mode == RenameMode::precise) {
        options.kinds = kindsOf(settings);
    }
    options.protection = {settings.sdkFolders, {}, settings.protectedSelectors};
    options.cacheFolder = quillet::cacheFolder();
    options.words = wordList(WordModel::loadLocal().text);
    options.backupDirectory = settings.backupPath;
    return options;
}

} // namespace quillet
