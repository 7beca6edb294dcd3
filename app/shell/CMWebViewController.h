#pragma once

#include <QString>
#include <chrono>

#include "toolkit/UIViewController.h"

class QWebEngineView;
class QWebEngineLoadingInfo;
class QTimer;

namespace quillet::app {

// A UIViewController (QWidget) around a QWebEngineView; CM is the app's Cocoa-style class prefix.
// A page of the web site inside the content pane: the loading overlay while it loads, a back
// arrow when it has history, red error texts when loading fails, and ".jump" links sent to the
// default browser.
class CMWebViewController : public UIViewController {
    Q_OBJECT
public:
    explicit CMWebViewController(QWidget* parent = nullptr);

    QString url;
    bool showBackBtn = false;
    // How long a page may take to load before it counts as unreachable.
    std::chrono::milliseconds loadTimeout{60000};

    QWebEngineView* webView() const { return webView_; }

    static constexpr const char* cannotConnectHtml =
        "<p style=\"text-align: center; margin: 30pt 30px; color:red; font-size: "
        "18pt;\">网络异常: 无法连接服务器</p>";
    static constexpr const char* failedHtml =
        "<p style=\"text-align: center; margin: 30pt 30px; color:red; font-size: "
        "18pt;\">网络异常</p>";

public slots:
    void goBack();

signals:
    void pageFinished(); // after every finished load, the white background applied

protected:
    void viewDidLoad() override;
    void viewFirstDidAppear() override;
    void viewDidLayout() override;

private:
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void didFinish();
    void showError(const char* html);
    void errorShown();
    void showBackArrow(bool canGoBack);

    QWebEngineView* webView_ = nullptr;
    QTimer* timeout_ = nullptr;
    // The history entry of the last page that loaded; the error text and the failed address
    // are entries too, and going back skips them.
    int lastPageIndex_ = -1;
    bool showingError_ = false;
};

} // namespace quillet::app
