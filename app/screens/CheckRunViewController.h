#pragma once

#include "toolkit/UIAlertViewController.h"

namespace quillet::app {

// A UIAlertViewController (QWidget); named in UIKit's view-controller style.
// Checks that the application runs from its installed place and that the home folder passes
// the path rule, and says so. A failed check leaves only the way out of the application.
class CheckRunViewController : public UIAlertViewController {
    Q_OBJECT
public:
    // Where the install step puts the application.
    static inline const QString appPath = QStringLiteral(QUILLET_APP_PATH);
    static constexpr int checkDelayMs = 2000;

    struct Report {
        QString text;
        bool passed;
    };

    // The folder the running application was installed as (its bundle).
    static QString runningBundlePath();
    static Report checkReport(const QString& bundlePath, const QString& homePath);

    // Whether a check has passed in this process; the check only ever sets it.
    static bool hasPassed();
    static void setPassed(bool passed);

    explicit CheckRunViewController(QString bundlePath = runningBundlePath(),
                                    QString homePath = QString(), QWidget* parent = nullptr);

public slots:
    void check();
    static void exitApp();

protected:
    void viewDidLoad() override;

private:
    QString bundlePath_;
    QString homePath_;
};

} // namespace quillet::app
