#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace quillet::app {

// A QFileDialog behind a seam; named after AppKit's NSOpenPanel, with the app's CM prefix.
// Lets the user choose a folder and remembers the last confirmed choice for both screens that
// ask for one. The dialog itself sits behind a seam, so tests can answer it.
class CMOpenPanel {
public:
    // What the dialog answered: nothing when cancelled; a path (maybe empty) when confirmed.
    using Chooser = std::function<std::optional<QString>(const QString& startFolder)>;

    static CMOpenPanel& shared();

    // Runs the folder dialog; a confirmed choice replaces folderPath, a cancelled one keeps it.
    void chooseFolder();
    const std::optional<QString>& folderPath() const { return folderPath_; }

    void setChooser(Chooser chooser);

private:
    CMOpenPanel();

    std::optional<QString> folderPath_;
    Chooser chooser_;
};

} // namespace quillet::app
