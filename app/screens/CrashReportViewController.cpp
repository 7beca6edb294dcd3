#include "CrashReportViewController.h"

#include <QClipboard>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>

#include "engine/NameTranslation.h"
#include "fs/SourceReader.h"
#include "platform/CMOpenPanel.h"
#include "platform/FileDropFilter.h"
#include "toolkit/Palette.h"
#include "toolkit/QtText.h"
#include "toolkit/UIAlertViewController.h"
#include "toolkit/UIButton.h"
#include "toolkit/UIInteractiveView.h"
#include "toolkit/UILabel.h"
#include "toolkit/UITextField.h"
#include "toolkit/UITextView.h"

namespace quillet::app {

namespace {

const QString restoreTitle = "还原";

// A report keeps its columns only in a fixed-width font, and its long lines only unwrapped.
UITextView* reportArea(const QString& placeholder, QWidget* parent) {
    auto* area = new UITextView(QString(), parent);
    area->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    area->setBorder({Palette::theme(), 1, 0});
    area->setTextStyle({Palette::textDark(), 12});
    area->setSelectedTextColor(Qt::white);
    area->setSelectedTextBackgroundColor(Palette::theme());
    area->setContentInsets(QMargins(4, 4, 4, 4));
    area->setLineWrapMode(QPlainTextEdit::NoWrap);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setPlaceholderText(placeholder);
    return area;
}

} // namespace

CrashReportViewController::CrashReportViewController(QWidget* parent) : UIViewController(parent) {}

CrashReportViewController::~CrashReportViewController() {
    if (worker_.joinable()) {
        worker_.join(); // it holds this screen until its result is posted
    }
}

void CrashReportViewController::viewDidLoad() {
    pathInput_ = UIInteractiveView::folderField([this] { selectPathAction(); }, this);
    namesLabel_ = new UILabel(QString(), this);
    namesLabel_->setTextStyle({Palette::textLight(), 14});
    namesLabel_->setWordWrap(true); // a read error names the whole path

    reportInput_ = reportArea("在这里粘贴崩溃日志，或把日志文件拖到这里", this);
    restoredOutput_ = reportArea("还原后的日志", this);
    restoredOutput_->setReadOnly(true);

    restoreBtn_ = UIButton::filled(restoreTitle, this);
    connect(restoreBtn_, &QPushButton::clicked, this, &CrashReportViewController::restoreAction);
    copyBtn_ = UIButton::plain("复制", this);
    copyBtn_->hide(); // until there is a translation to copy
    connect(copyBtn_, &QPushButton::clicked, this, &CrashReportViewController::copyAction);

    // A file dropped anywhere on the page, the text areas included, is read in as the report.
    auto* drops = new FileDropFilter([this](const QString& path) { openReport(path); }, this);
    drops->watch(this);
    for (UITextView* area : {reportInput_, restoredOutput_}) {
        drops->watch(area);
        drops->watch(area->viewport());
    }
}

void CrashReportViewController::viewDidLayout() {
    const int w = width();
    const int h = height();
    pathInput_->setGeometry(20, 20, w - 40, 32);
    namesLabel_->setGeometry(20 + 50, 56, w - 40 - 50, 36);
    const int top = 98;
    const int buttonHeight = 40;
    const int spacing = 12;
    const int area = (h - 20 - top - buttonHeight - 2 * spacing) / 2;
    reportInput_->setGeometry(20, top, w - 40, area);
    const int row = top + area + spacing;
    restoreBtn_->setGeometry(20, row, 160, buttonHeight);
    copyBtn_->setGeometry(w - 20 - 80, row, 80, buttonHeight);
    const int outputTop = row + buttonHeight + spacing;
    restoredOutput_->setGeometry(20, outputTop, w - 40, h - 20 - outputTop);
}

void CrashReportViewController::selectPathAction() {
    auto& panel = CMOpenPanel::shared();
    panel.chooseFolder();
    if (const auto& folder = panel.folderPath()) {
        useProject(*folder);
    }
}

void CrashReportViewController::useProject(const QString& project) {
    pathInput_->label()->setText(project);
    names_ = ProjectNames::of(project);
    namesLabel_->setText(names_->summary());
}

void CrashReportViewController::openReport(const QString& path) {
    // A link to a report is read as the report: the reader follows none itself.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString target = canonical.isEmpty() ? path : canonical;
    if (QFileInfo(target).size() > largestReport) {
        CMAlert::show(this, "无法读取文件",
                      path + "\n文件大于 " + QString::number(largestReport >> 20) + " MB", false);
        return;
    }
    const auto read = quillet::fs::SourceReader::read(target.toStdString());
    if (!read) {
        CMAlert::show(this, "无法读取文件", path + "\n" + qs(read.error().message), false);
        return;
    }
    reportInput_->setPlainText(qs(read->text));
}

void CrashReportViewController::restoreAction() {
    if (!names_) {
        CMAlert::show(this, "请选择路径", "", false);
        return;
    }
    auto translation = names_->translation();
    if (!translation) {
        CMAlert::show(this, "无法还原", names_->summary(), false);
        return;
    }
    if (worker_.joinable()) {
        return; // one translation at a time; its result is on the way
    }
    restoreBtn_->setEnabled(false);
    restoreBtn_->setText("还原中...");
    // Translating a report of 5 MB and making it text for the window takes a tenth of a second.
    worker_ = std::thread([this, translation = std::move(translation),
                           report = reportInput_->toPlainText().toStdString()] {
        auto restored = std::make_shared<const QString>(qs(translation->translate(report)));
        QMetaObject::invokeMethod(
            this, [this, restored] { showRestored(*restored); }, Qt::QueuedConnection);
    });
}

void CrashReportViewController::showRestored(const QString& text) {
    worker_.join(); // it has nothing left to do but return
    restoredOutput_->setPlainText(text);
    restoreBtn_->setText(restoreTitle);
    restoreBtn_->setEnabled(true);
    copyBtn_->show();
    emit restored();
}

void CrashReportViewController::copyAction() {
    QGuiApplication::clipboard()->setText(restoredOutput_->toPlainText());
    CMAlert::show(this, "复制成功", "还原后的日志已复制到剪贴板", false);
}

} // namespace quillet::app
