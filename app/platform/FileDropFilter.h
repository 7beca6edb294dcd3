#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace quillet::app {

// Takes the drops of one local file on the widgets it watches and hands over the file's path.
// A drag of several files is refused there: a text area would take their addresses as text.
// Every other drag (text, a web address) goes on to the widget as before.
class FileDropFilter : public QObject {
    Q_OBJECT
public:
    using Dropped = std::function<void(const QString& path)>;

    FileDropFilter(Dropped dropped, QObject* parent);

    // Watches `widget`; it is made to accept drops.
    void watch(QWidget* widget);

    // The path of the one local file `data` carries, if that is all it carries.
    static std::optional<QString> droppedFile(const QMimeData* data);
    // Whether `data` carries a local file, alone or among others.
    static bool carriesFiles(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Dropped dropped_;
};

} // namespace quillet::app
