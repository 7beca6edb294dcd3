#include "ContentViewController.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMetaObject>

#include "AppDelegate.h"
#include "CMWebViewController.h"
#include "TitleView.h"
#include "notify/Notify.h"
#include "platform/Workspace.h"
#include "screens/CheckRunViewController.h"
#include "screens/CrashReportViewController.h"
#include "screens/MethodRenameViewController.h"
#include "screens/SettingViewController.h"
#include "screens/WordBankViewController.h"
#include "service/Config.h"
#include "toolkit/NSTheme.h"
#include "toolkit/PresentAnimator.h"
#include "toolkit/UIAlertViewController.h"

namespace quillet::app {

ContentViewController::ContentViewController(QWidget* parent) : UIViewController(parent) {}

ContentViewController::~ContentViewController() {
    quillet::Notify::center().removeObserver(this);
}

QString ContentViewController::webPage(const QString& path) {
    return QString::fromStdString(quillet::Config::webURL()) + path;
}

QRect ContentViewController::pageArea() const {
    return QRect(0, titleHeight, width(), height() - titleHeight - bottomHeight);
}

void ContentViewController::viewDidLoad() {
    setObjectName("contentPane");
    setAttribute(Qt::WA_StyledBackground);
    titleView_ = new TitleView(this);
    titleView_->title()->setText("Quillet");
    titleView_->controller = this;
    buttomView_ = new ButtomView(this);
    // Made after the pane was first laid out and shown, so placed and shown here.
    layOutBars();
    titleView_->show();
    buttomView_->show();
    theme();
    connect(&NSTheme::shared(), &NSTheme::themeChanged, this, &ContentViewController::theme);
    quillet::Notify::add(
        this,
        [this](const quillet::PostedNotification& notification) {
            if (const auto* entry = std::any_cast<SidebarEntry>(&notification.object)) {
                doNotification(*entry);
            }
        },
        quillet::Notification::navigation);
}

void ContentViewController::resizeEvent(QResizeEvent* event) {
    UIViewController::resizeEvent(event);
    if (titleView_ != nullptr) {
        layOutBars();
    }
    for (const auto& page : PresentAnimator::pageStack()) {
        if (page) {
            page->setGeometry(pageArea());
        }
    }
}

void ContentViewController::layOutBars() {
    titleView_->setGeometry(0, 0, width(), titleHeight);
    buttomView_->setGeometry(0, height() - bottomHeight, width(), bottomHeight);
}

void ContentViewController::theme() {
    const bool dark = NSTheme::shared().style() == NSTheme::Style::dark;
    setStyleSheet(dark ? "#contentPane { background: transparent; }"
                       : "#contentPane { background: white; }");
}

void ContentViewController::viewFirstDidAppear() {
    quillet::Notify::center().post(quillet::Notification::navigation,
                                   SidebarEntry{"公告", Action::notice});
}

void ContentViewController::viewDidAppear() {
    UIViewController::viewDidAppear();
    if (CheckRunViewController::hasPassed()) {
        return;
    }
    // One check dialog at a time, however often the pane reappears under it.
    for (const auto& presented : presentedViewControllers()) {
        if (qobject_cast<CheckRunViewController*>(presented.data()) != nullptr) {
            return;
        }
    }
    presentViewController(new CheckRunViewController, PresentAnimatorForWindow::shared());
}

void ContentViewController::dismissPages() {
    auto& stack = PresentAnimator::pageStack();
    while (!stack.empty()) {
        QPointer<UIViewController> page = stack.back();
        stack.pop_back();
        if (page) {
            page->dismissController();
        }
    }
    while (!presentedViewControllers().empty()) {
        UIViewController* last = presentedViewControllers().back();
        if (last == nullptr) {
            break;
        }
        dismissViewController(last);
    }
}

void ContentViewController::doNotification(const SidebarEntry& entry) {
    if (entry.action == previousAction_) {
        return;
    }
    const bool keepsPage = entry.action == Action::qqGroup || entry.action == Action::officialWeb ||
                           entry.action == Action::onlineUpdate;
    if (!keepsPage) {
        dismissPages();
        previousAction_ = entry.action;
        titleView_->title()->setText(entry.value);
    }
    switch (entry.action) {
    case Action::mrename:
        presentViewController(new MethodRenameViewController(), PresentAnimator::shared());
        break;
    case Action::crashReport:
        presentViewController(new CrashReportViewController(), PresentAnimator::shared());
        break;
    case Action::settingNormal:
        presentViewController(new SettingViewController(), PresentAnimator::shared());
        break;
    case Action::settingMyWord:
        presentViewController(new WordBankViewController(), PresentAnimator::shared());
        break;
    case Action::notice:
        showWebPage("/index.php/901.html");
        break;
    case Action::shortcutKey:
        showWebPage("/index.php/302.html");
        break;
    case Action::course:
        showWebPage("/index.php/904.html");
        break;
    case Action::qqGroup:
        copyChatGroup();
        break;
    case Action::officialWeb:
        Workspace::open(QUrl(QString::fromStdString(quillet::Config::webURL())));
        break;
    case Action::onlineUpdate:
        if (auto* updater = AppDelegate::standardUpdater()) {
            updater->checkForUpdates();
        }
        break;
    default:
        break;
    }
}

void ContentViewController::showWebPage(const QString& path) {
    auto* page = new CMWebViewController();
    page->url = webPage(path);
    presentViewController(page, PresentAnimator::shared());
    page->showBackBtn = false;
}

void ContentViewController::copyChatGroup() {
    QGuiApplication::clipboard()->setText(QUILLET_CHAT_GROUP);
    CMAlert::show(this, "复制成功", QString("QQ群号 %1 已复制到剪贴板").arg(QUILLET_CHAT_GROUP),
                  false);
}

} // namespace quillet::app
