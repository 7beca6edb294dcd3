#include "CMWebViewController.h"

#include <QPushButton>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

#include "log/Log.h"
#include "platform/Workspace.h"

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
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        QLOG_AS("webView(_:didStartProvisionalNavigation:)",
                "didStartProvisionalNavigation " + webView_->url().toString().toStdString());
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        didFinish();
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        // A navigation cancelled for the browser ends as stopped, not failed, and is ignored.
        if (info.errorDomain() == QWebEngineLoadingInfo::ConnectionErrorDomain ||
            info.errorDomain() == QWebEngineLoadingInfo::NoErrorDomain) {
            std::puts("didFailProvisionalNavigation");
            showError(cannotConnectHtml);
        } else {
            std::puts("didFail");
            showError(failedHtml);
        }
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        break;
    }
}

void CMWebViewController::didFinish() {
    std::puts("didFinish");
    stopLoading();
    webView_->page()->runJavaScript("document.body.style.backgroundColor=\"#FFFFFF\"");
    QPushButton* back = backbtn();
    back->disconnect(this);
    if (webView_->history()->canGoBack()) {
        connect(back, &QPushButton::clicked, this, &CMWebViewController::goBack);
        back->show();
    } else if (showBackBtn) {
        connect(back, &QPushButton::clicked, this, &UIViewController::disappear);
        back->show();
    } else {
        back->hide();
    }
    back->raise();
    emit pageFinished();
}

void CMWebViewController::showError(const char* html) {
    stopLoading();
    webView_->setHtml(QString::fromUtf8(html));
}

void CMWebViewController::goBack() {
    webView_->back();
}
