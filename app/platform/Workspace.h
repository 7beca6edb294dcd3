#pragma once

#include <QUrl>
#include <functional>

namespace quillet::app {

// QDesktopServices behind a seam; named after AppKit's NSWorkspace.
// Opens addresses in the user's default browser. Tests put an opener of their own behind it.
namespace Workspace {
void open(const QUrl& url);
void setOpener(std::function<void(const QUrl&)> opener);
} // namespace Workspace

} // namespace quillet::app
