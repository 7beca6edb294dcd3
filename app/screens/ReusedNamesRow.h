#pragma once

#include <QString>
#include <optional>
#include <string>

#include "toolkit/UIView.h"

namespace quillet::app {

class UIButton;
class UILabel;
class UIViewController;

// The names file whose names the runs of the project in the path field give again, so that the
// next release of an app ships with the names the last one had: "沿用名称表…" chooses one, the
// label names it (its whole path as tooltip) or says "未选择", "清除" forgets it. The choice is
// kept in the settings for that project folder alone.
class ReusedNamesRow : public UIView {
    Q_OBJECT
public:
    static const QString fileFilter;
    static const QString noneChosen;

    // Its alerts show as sheets of `screen`, which holds the row.
    explicit ReusedNamesRow(UIViewController* screen);

    UIButton* chooseBtn() const { return chooseBtn_; }
    UILabel* fileLabel() const { return fileLabel_; }
    UIButton* clearBtn() const { return clearBtn_; }

    // Shows what is kept for `project`, the path field's text as a run takes it.
    void setProject(const QString& project);

public slots:
    void chooseAction();
    void clearAction();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void keep(const std::optional<std::string>& file);
    void showChoice();
    void layOut();

    UIViewController* screen_;
    std::string project_;
    QString fileName_; // whole; the label shortens it to its room
    UIButton* chooseBtn_;
    UILabel* fileLabel_;
    UIButton* clearBtn_;
};

} // namespace quillet::app
