#pragma once

#include <QStringList>
#include <map>
#include <vector>

#include "Action.h"
#include "toolkit/UIViewController.h"

class QListWidget;

namespace quillet::app {

// A UIViewController (QWidget) around a QListWidget; named in UIKit's view-controller style.
// The left pane: the tools and help pages as a list in sections. Choosing an entry posts the
// navigation notification with it; the content pane acts on it.
class SidebarViewController : public UIViewController {
    Q_OBJECT
public:
    explicit SidebarViewController(QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    const std::map<int, std::vector<SidebarEntry>>& datas() const { return datas_; }
    static const QStringList& sectionTitle();

    // Selects the row of an entry, as a click does; false when there is none.
    bool select(const QString& value);

protected:
    void viewDidLoad() override;
    // Up and Down go from entry to entry, over the section titles.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void viewFirstDidAppear() override;

private:
    void reload();
    void selectionChanged();
    // The next entry row from the current one, `step` 1 or -1; -1 when there is none.
    int entryRowFrom(int step) const;

    QListWidget* list_ = nullptr;
    std::map<int, std::vector<SidebarEntry>> datas_;
};

} // namespace quillet::app
