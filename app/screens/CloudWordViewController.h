#pragma once

#include <string>

#include "base/Result.h"
#include "toolkit/UIViewController.h"

class QTableWidget;

namespace quillet::app {

// A UIViewController (QWidget) around a QTableWidget; named in UIKit's view-controller style.
// The list of the user's banks on the service; a double click picks one for the word bank
// screen. The fetched list is kept for the whole process and reused until a save or a delete
// empties it.
class CloudWordViewController : public UIViewController {
    Q_OBJECT
public:
    explicit CloudWordViewController(QWidget* parent = nullptr);

    QTableWidget* list() const { return list_; }

public slots:
    void doubleAction();

signals:
    void answered(); // after every answer of the service has been handled

protected:
    void viewDidLoad() override;
    void viewFirstDidAppear() override;
    void viewDidLayout() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestData(bool showsBusy);
    void handle(const quillet::Result<std::string>& answer);
    void reloadData();

    QTableWidget* list_ = nullptr;
};

} // namespace quillet::app
