#include "RunOutcome.h"

#include <QStringList>
#include <utility>

#include "job/RunReport.h"
#include "log/Console.h"

namespace quillet::app {

namespace {

constexpr const char* backupFailedMessage = "项目未做任何修改，请检查设置中的代码备份目录";
constexpr const char* listFailedMessage = "方法名列表无法写入，项目未做任何修改（见日志）";
constexpr std::size_t namesShown = 3;
constexpr std::size_t pathsShown = 10;

QString fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

// The first few files by name, then how many there are in all.
QString namedFiles(const std::vector<std::string>& paths) {
    QStringList names;
    for (std::size_t i = 0; i < paths.size() && i < namesShown; ++i) {
        names << fileNameOf(paths[i]);
    }
    QString text = names.join(", ");
    if (paths.size() > namesShown) {
        text += QString(" 等 %1 个").arg(paths.size());
    }
    return text;
}

} // namespace

RunOutcome RunOutcome::of(const quillet::RunReport& report) {
    RunOutcome outcome;
    if (report.backup && report.backup->ok()) {
        outcome.archive = report.backup->value();
    } else if (report.backup) {
        outcome.unreadableSource = report.backup->error().unreadableSource;
    }
    outcome.listWritten = report.writes.listWritten;
    outcome.precise = report.mode == quillet::RenameMode::precise;
    outcome.renamed = report.pairs.size();
    outcome.protectedMethods = report.protectedMethods;
    for (const auto& rename : report.typeRenames) {
        switch (rename.kind) {
        case quillet::TypeName::Kind::classType:
            ++outcome.renamedClasses;
            break;
        case quillet::TypeName::Kind::protocolType:
            ++outcome.renamedProtocols;
            break;
        case quillet::TypeName::Kind::property:
            ++outcome.renamedProperties;
            break;
        }
    }
    for (const auto& file : report.unparsedFiles) {
        outcome.unparsedFiles.push_back(file.path);
    }
    outcome.logPath = quillet::Console::shared().path();
    for (const auto& file : report.unreadableFiles) {
        outcome.unreadableFiles.push_back(file.path);
    }
    outcome.failedWrites = report.writes.failed;
    outcome.namesReused = report.namesReused;
    outcome.renamedAfresh = report.renamedAfresh.size();
    outcome.namesCarried = report.namesCarried;
    return outcome;
}

QString RunOutcome::unreadableMessage(const std::vector<quillet::UnparsedFile>& inaccessible) {
    QString text = QString("%1 个文件无法读取，项目未修改：").arg(inaccessible.size());
    for (std::size_t i = 0; i < inaccessible.size() && i < pathsShown; ++i) {
        text += "\n" + QString::fromStdString(inaccessible[i].path) + "（" +
                QString::fromStdString(inaccessible[i].problem) + "）";
    }
    if (inaccessible.size() > pathsShown) {
        text += QString("\n等 %1 个（见日志 %2）")
                    .arg(inaccessible.size())
                    .arg(QString::fromStdString(quillet::Console::shared().path()));
    }
    return text;
}

QString RunOutcome::title() const {
    if (!archive) {
        return "代码备份失败";
    }
    return listWritten ? "已完成" : "重命名失败";
}

// Only the kinds that were renamed; nothing when none was.
QString RunOutcome::typesLine() const {
    const std::pair<QString, std::size_t> counts[] = {
        {"类名", renamedClasses}, {"协议", renamedProtocols}, {"属性", renamedProperties}};
    QStringList kinds;
    for (const auto& [kind, count] : counts) {
        if (count > 0) {
            kinds << kind + QString(" %1 个").arg(count);
        }
    }
    return kinds.isEmpty() ? QString() : "\n同时重命名 " + kinds.join("，");
}

// Nothing without a names file. With one, the count given again always heads the lines: a file
// that gave nothing (one of another project) should be seen to.
QString RunOutcome::reuseLines() const {
    if (namesReused == 0 && renamedAfresh == 0 && namesCarried == 0) {
        return {};
    }
    QString text = QString("\n沿用名称 %1 个").arg(namesReused);
    if (renamedAfresh > 0) {
        text += QString("\n其中 %1 个名称已被占用，改用新名称").arg(renamedAfresh);
    }
    if (namesCarried > 0) {
        text += QString("\n名称表中 %1 个名称在项目中已不存在，已保留").arg(namesCarried);
    }
    return text;
}

QString RunOutcome::message() const {
    if (!archive && !unreadableSource.empty()) {
        return QString("无法读取项目文件 %1，项目未做任何修改，请检查它的读取权限")
            .arg(QString::fromStdString(unreadableSource));
    }
    if (!archive) {
        return backupFailedMessage;
    }
    QString text = "代码备份" + QString::fromStdString(*archive);
    if (!listWritten) {
        return text + "\n" + listFailedMessage;
    }
    if (precise) {
        text += QString("\n重命名 %1 个方法，保护 %2 个方法（系统、运行时或外部代码使用的方法）")
                    .arg(renamed)
                    .arg(protectedMethods);
        text += typesLine();
        if (!unparsedFiles.empty()) {
            text += QString("\n%1 个文件无法解析，保持原样: %2（见日志 %3）")
                        .arg(unparsedFiles.size())
                        .arg(namedFiles(unparsedFiles), QString::fromStdString(logPath));
        }
    }
    text += reuseLines();
    if (!unreadableFiles.empty()) {
        text += QString("\n%1 个文件无法读取，保持原样，其中可能仍使用旧方法名: %2（见日志 %3）")
                    .arg(unreadableFiles.size())
                    .arg(namedFiles(unreadableFiles), QString::fromStdString(logPath));
    }
    if (failedWrites > 0) {
        text += QString("\n%1 个文件无法写入（见日志）").arg(failedWrites);
    }
    return text;
}

} // namespace quillet::app
