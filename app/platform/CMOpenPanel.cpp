#include "CMOpenPanel.h"

#include <QApplication>
#include <QFileDialog>

namespace quillet::app {

namespace {

std::optional<QString> askWithDialog(const QString& startFolder) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

CMOpenPanel::CMOpenPanel() : chooser_(askWithDialog) {}

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

} // namespace quillet::app
