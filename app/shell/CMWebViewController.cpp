#include "CMWebViewController.h"

#include <QPushButton>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

#include "log/Log.h"
#include "platform/Workspace.h"

namespace quillet::app {

namespace {

// Sends ".jump" links to the browser instead of following them.
class JumpingPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        const QString address = url.toString();
        QLOG_AS("webView(_:decidePolicyFor:decisionHandler:)",
                "decidePolicyFor " + address.toStdString());
        if (isMainFrame && address.endsWith(".jump")) {
            Workspace::open(QUrl(QString(address).remove(".jump")));
            return false;
        }
        return true;
    }
};

} // namespace

CMWebViewController::CMWebViewController(QWidget* parent) : UIViewController(parent) {}

void CMWebViewController::viewDidLoad() {
    webView_ = new QWebEngineView(this);
    webView_->setPage(new JumpingPage(webView_));
    connect(webView_->page(), &QWebEnginePage::loadingChanged, this,
            &CMWebViewController::loadingChanged);
    timeout_ = new QTimer(this);
    timeout_->setSingleShot(true);
    connect(timeout_, &QTimer::timeout, this, [this] {
        webView_->stop();
        std::puts("didFailProvisionalNavigation");
        showError(cannotConnectHtml);
    });
}

void CMWebViewController::viewDidLayout() {
    webView_->setGeometry(rect().adjusted(20, 20, -20, -20));
}

void CMWebViewController::viewFirstDidAppear() {
    QLOG_AS("viewFirstDidAppear()", "open " + url.toStdString());
    startLoading();
    // An address that does not parse ends in the failure text like any failed load.
    webView_->load(QUrl(url));
}

void CMWebViewController::loadingChanged(const QWebEngineLoadingInfo& info) {
    const bool errorText = info.url().scheme() == "data";
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        QLOG_AS("webView(_:didStartProvisionalNavigation:)",
                "didStartProvisionalNavigation " + webView_->url().toString().toStdString());
        if (!errorText) {
            showingError_ = false;
            timeout_->start(loadTimeout);
        }
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        timeout_->stop();
        if (errorText && showingError_) {
            errorShown();
        } else {
            didFinish();
        }
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        timeout_->stop();
        if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain) {
            // The site answered, if with an error status: its page is shown like any other.
            didFinish();
        } else if (info.errorDomain() == QWebEngineLoadingInfo::ConnectionErrorDomain ||
                   info.errorDomain() == QWebEngineLoadingInfo::NoErrorDomain) {
            std::puts("didFailProvisionalNavigation");
            showError(cannotConnectHtml);
        } else {
            std::puts("didFail");
            showError(failedHtml);
        }
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        // A navigation cancelled for the browser ends as stopped, not failed, and is ignored.
        timeout_->stop();
        break;
    }
}

void CMWebViewController::didFinish() {
    std::puts("didFinish");
    stopLoading();
    webView_->page()->runJavaScript("document.body.style.backgroundColor=\"#FFFFFF\"");
    lastPageIndex_ = webView_->history()->currentItemIndex();
    showBackArrow(webView_->history()->canGoBack());
    emit pageFinished();
}

void CMWebViewController::showBackArrow(bool canGoBack) {
    QPushButton* back = backbtn();
    back->disconnect(this);
    if (canGoBack) {
        connect(back, &QPushButton::clicked, this, &CMWebViewController::goBack);
        back->show();
    } else if (showBackBtn) {
        connect(back, &QPushButton::clicked, this, &UIViewController::disappear);
        back->show();
    } else {
        back->hide();
    }
    back->raise();
}

void CMWebViewController::showError(const char* html) {
    stopLoading();
    showingError_ = true;
    webView_->setHtml(QString::fromUtf8(html));
}

// The error text is no page to go back from to the address that failed: back leads to the last
// page that loaded, if there was one.
void CMWebViewController::errorShown() {
    std::puts("didFinish");
    showBackArrow(lastPageIndex_ >= 0);
    emit pageFinished();
}

void CMWebViewController::goBack() {
    auto* history = webView_->history();
    if (showingError_ && lastPageIndex_ >= 0 && lastPageIndex_ < history->count()) {
        history->goToItem(history->itemAt(lastPageIndex_));
        return;
    }
    webView_->back();
}

} // namespace quillet::app
