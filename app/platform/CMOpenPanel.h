#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace quillet::app {

// A QFileDialog behind a seam; named after AppKit's NSOpenPanel, with the app's CM prefix.
// Lets the user choose a folder and remembers the last confirmed choice for both screens that
// ask for one; lets the user choose a file too. The dialogs themselves sit behind seams, so tests
// can answer them.
class CMOpenPanel {
public:
    // What the dialog answered: nothing when cancelled; a path (maybe empty) when confirmed.
    using Chooser = std::function<std::optional<QString>(const QString& startFolder)>;
    // The same for a file dialog showing the files `filter` ("名称 (*.a *.b)") lets through.
    using FileChooser =
        std::function<std::optional<QString>(const QString& startFolder, const QString& filter)>;

    static CMOpenPanel& shared();

    // Runs the folder dialog; a confirmed choice replaces folderPath, a cancelled one keeps it.
    void chooseFolder();
    const std::optional<QString>& folderPath() const { return folderPath_; }

    void setChooser(Chooser chooser);

    // Runs the file dialog for one existing file; nothing when cancelled or nothing was chosen.
    std::optional<QString> chooseFile(const QString& startFolder, const QString& filter);
    void setFileChooser(FileChooser chooser);

private:
    CMOpenPanel();

    std::optional<QString> folderPath_;
    Chooser chooser_;
    FileChooser fileChooser_;
};

} // namespace quillet::app
