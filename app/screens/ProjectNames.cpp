#include "ProjectNames.h"

#include <filesystem>

#include "engine/NameTranslation.h"
#include "log/Log.h"
#include "toolkit/QtText.h"

namespace quillet::app {

namespace {

// Whether anything is at `path`, a symbolic link included: one there is reported as the names
// file that cannot be read, not taken for a missing one.
bool isPresent(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

} // namespace

const QString ProjectNames::tableFile = "QuilletNames.tsv";
const QString ProjectNames::methodListFile = "MethodReplaceList.txt";

ProjectNames::ProjectNames(std::shared_ptr<const quillet::NameTranslation> translation,
                           QString summary)
    : translation_(std::move(translation)), summary_(std::move(summary)) {}

ProjectNames ProjectNames::of(const QString& project) {
    const std::filesystem::path folder = project.toStdString();
    QString file = tableFile;
    if (!isPresent(folder / file.toStdString())) {
        file = methodListFile;
        if (!isPresent(folder / file.toStdString())) {
            return {nullptr, "项目中没有名称表"};
        }
    }
    const auto table = quillet::NameTable::read((folder / file.toStdString()).string());
    if (!table) {
        return {nullptr, "名称表无法使用：" + qs(table.error().message)};
    }
    auto translation = std::make_shared<const quillet::NameTranslation>(*table);
    for (const auto& entry : translation->leftOut()) {
        QLOG("Not a name a text can hold, left out",
             std::string(quillet::kindWord(entry.kind)) + " " + entry.from + " -> " + entry.to);
    }
    return {std::move(translation),
            QString("名称表：%1（%2 个名称）").arg(file).arg(table->entries().size())};
}

} // namespace quillet::app
