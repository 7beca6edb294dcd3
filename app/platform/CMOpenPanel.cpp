#include "CMOpenPanel.h"

#include <QApplication>
#include <QFileDialog>

#include "ChineseFileListModel.h"

namespace quillet::app {

namespace {

// The path the user confirmed in a dialog the caller has set up.
std::optional<QString> answerOf(QFileDialog& dialog) {
#ifndef __APPLE__
    // Qt's own dialog, so that all of it speaks Chinese; a desktop's may follow another language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ChineseFileListModel(&dialog));
#endif
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

std::optional<QString> askWithDialog(const QString& startFolder) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return answerOf(dialog);
}

std::optional<QString> askForFile(const QString& startFolder, const QString& filter) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), startFolder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return answerOf(dialog);
}

} // namespace

CMOpenPanel::CMOpenPanel() : chooser_(askWithDialog), fileChooser_(askForFile) {}

CMOpenPanel& CMOpenPanel::shared() {
    static CMOpenPanel panel;
    return panel;
}

void CMOpenPanel::chooseFolder() {
    const auto answer = chooser_(folderPath_.value_or(QString()));
    if (!answer) {
        return; // cancelled: the earlier choice stays
    }
    folderPath_ = answer->isEmpty() ? std::nullopt : std::optional<QString>(*answer);
}

void CMOpenPanel::setChooser(Chooser chooser) {
    chooser_ = chooser ? std::move(chooser) : Chooser(askWithDialog);
}

std::optional<QString> CMOpenPanel::chooseFile(const QString& startFolder, const QString& filter) {
    auto answer = fileChooser_(startFolder, filter);
    if (!answer || answer->isEmpty()) {
        return std::nullopt;
    }
    return answer;
}

void CMOpenPanel::setFileChooser(FileChooser chooser) {
    fileChooser_ = chooser ? std::move(chooser) : FileChooser(askForFile);
}

} // namespace quillet::app
