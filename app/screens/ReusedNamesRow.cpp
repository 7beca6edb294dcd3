#include "ReusedNamesRow.h"

#include <QFileInfo>
#include <algorithm>

#include "engine/NameTable.h"
#include "platform/CMOpenPanel.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"
#include "toolkit/QtText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UILabel.h"

namespace quillet::app {

namespace {

constexpr int gap = 12;

std::optional<std::string> keptFor(const std::string& project) {
    const auto& kept = quillet::SettingModel::shared().reusedNames;
    const auto it = kept.find(project);
    return it == kept.end() ? std::nullopt : std::optional(it->second);
}

} // namespace

const QString ReusedNamesRow::fileFilter = "名称表 (*.tsv *.txt)";
const QString ReusedNamesRow::noneChosen = "未选择";

ReusedNamesRow::ReusedNamesRow(UIViewController* screen)
    : UIView(screen), screen_(screen), chooseBtn_(UIButton::plain("沿用名称表…", this)),
      fileLabel_(new UILabel(noneChosen, this)), clearBtn_(UIButton::plain("清除", this)) {
    fileLabel_->setTextStyle({QColor(88, 88, 88), 16});
    connect(chooseBtn_, &QPushButton::clicked, this, &ReusedNamesRow::chooseAction);
    connect(clearBtn_, &QPushButton::clicked, this, &ReusedNamesRow::clearAction);
    showChoice();
}

void ReusedNamesRow::setProject(const QString& project) {
    project_ = project.toStdString();
    showChoice();
}

void ReusedNamesRow::chooseAction() {
    if (project_.empty()) {
        CMAlert::show(screen_, "请选择路径", "", false);
        return;
    }
    // Where the last release's file is, else the project, where a run leaves its table.
    const auto kept = keptFor(project_);
    const QString start = kept ? QFileInfo(qs(*kept)).absolutePath() : qs(project_);
    const auto file = CMOpenPanel::shared().chooseFile(start, fileFilter);
    if (!file) {
        return;
    }
    const std::string path = file->toStdString();
    // Checked now, not when a run refuses it later.
    if (const auto table = quillet::NameTable::read(path); !table) {
        CMAlert::show(screen_, "无法读取名称表", qs(table.error().message), false);
        return;
    }
    keep(path);
}

void ReusedNamesRow::clearAction() {
    keep(std::nullopt);
}

void ReusedNamesRow::keep(const std::optional<std::string>& file) {
    auto& settings = quillet::SettingModel::shared();
    if (file) {
        settings.reusedNames[project_] = *file;
    } else {
        settings.reusedNames.erase(project_);
    }
    showChoice();
    if (!quillet::Cacher::shared().save(settings)) {
        // It holds for the runs of this session, but the user must know a later one won't have it.
        CMAlert::show(screen_, "保存失败", "设置无法写入配置文件", false);
    }
}

void ReusedNamesRow::showChoice() {
    const auto kept = keptFor(project_);
    fileName_ = kept ? QFileInfo(qs(*kept)).fileName() : noneChosen;
    fileLabel_->setToolTip(kept ? qs(*kept) : QString());
    clearBtn_->setVisible(kept.has_value());
    layOut();
}

void ReusedNamesRow::resizeEvent(QResizeEvent* event) {
    UIView::resizeEvent(event);
    layOut();
}

// The button, the file's name shortened in the middle to what room "清除" leaves, then "清除".
void ReusedNamesRow::layOut() {
    const int h = height();
    chooseBtn_->setGeometry(0, 0, chooseBtn_->sizeHint().width(), h);
    const int x = chooseBtn_->width() + gap;
    const int clearWidth = clearBtn_->sizeHint().width();
    const int room = std::max(0, width() - x - (clearBtn_->isHidden() ? 0 : gap + clearWidth));
    fileLabel_->ensurePolished();
    fileLabel_->setText(fileLabel_->fontMetrics().elidedText(fileName_, Qt::ElideMiddle, room));
    const int labelWidth = std::min(fileLabel_->sizeHint().width(), room);
    fileLabel_->setGeometry(x, 0, labelWidth, h);
    clearBtn_->setGeometry(x + labelWidth + gap, 0, clearWidth, h);
}

} // namespace quillet::app
