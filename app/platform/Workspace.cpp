#include "Workspace.h"

#include <QDesktopServices>

namespace quillet::app {

namespace {

std::function<void(const QUrl&)>& opener() {
    static std::function<void(const QUrl&)> open = [](const QUrl& url) {
        QDesktopServices::openUrl(url);
    };
    return open;
}

} // namespace

namespace Workspace {

void open(const QUrl& url) {
    opener()(url);
}

void setOpener(std::function<void(const QUrl&)> open) {
    opener() = std::move(open);
}

} // namespace Workspace

} // namespace quillet::app
