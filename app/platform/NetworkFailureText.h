#pragma once

#include <QNetworkReply>
#include <QString>

namespace quillet::app {

// What went wrong with a request, in the interface's Chinese: the reason itself, not Qt's English
// text.
QString networkFailureText(QNetworkReply::NetworkError error, int httpStatus);

} // namespace quillet::app
