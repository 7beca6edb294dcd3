#include "UpdateWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "Workspace.h"

namespace quillet::app {

UpdateWindow::UpdateWindow(QWidget* parent)
    : QDialog(parent), headline_(new QLabel(this)), detail_(new QLabel(this)),
      progress_(new QProgressBar(this)), download_(new QPushButton("前往下载", this)),
      close_(new QPushButton("好", this)) {
    setWindowTitle("软件更新");
    setMinimumWidth(420);
    QFont bold = headline_->font();
    bold.setPointSize(bold.pointSize() + 3);
    bold.setBold(true);
    headline_->setFont(bold);
    detail_->setWordWrap(true);
    detail_->setTextFormat(Qt::RichText);
    progress_->setRange(0, 0); // the length of a check is not known
    progress_->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(download_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headline_);
    layout->addWidget(detail_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(download_, &QPushButton::clicked, this, [this] {
        Workspace::open(QUrl(downloadPage_));
        close();
    });
}

void UpdateWindow::showChecking() {
    headline_->setText("正在检查更新…");
    detail_->clear();
    progress_->show();
    download_->hide();
    close_->setText("取消");
}

void UpdateWindow::showUpToDate(const QString& currentVersion) {
    showOutcome("Quillet 已是最新版本", QString("当前版本 %1。").arg(currentVersion), false);
}

void UpdateWindow::showNewVersion(const AppcastItem& item, const QString& currentVersion) {
    downloadPage_ = item.downloadPage;
    showOutcome(QString("发现新版本 Quillet %1").arg(item.version),
                QString("当前版本 %1。").arg(currentVersion) + item.notes,
                !item.downloadPage.isEmpty());
}

void UpdateWindow::showFailure(const QString& reason) {
    showOutcome("检查更新失败", reason.toHtmlEscaped(), false);
}

void UpdateWindow::showOutcome(const QString& headline, const QString& detail,
                               bool offersDownload) {
    headline_->setText(headline);
    detail_->setText(detail);
    progress_->hide();
    download_->setVisible(offersDownload);
    close_->setText(offersDownload ? "以后再说" : "好");
}

} // namespace quillet::app
