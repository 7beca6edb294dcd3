#include "NetworkFailureText.h"

namespace quillet::app {

QString networkFailureText(QNetworkReply::NetworkError error, int httpStatus) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return "服务器拒绝连接";
    case QNetworkReply::RemoteHostClosedError:
        return "服务器断开了连接";
    case QNetworkReply::HostNotFoundError:
        return "找不到服务器";
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return "连接超时";
    case QNetworkReply::SslHandshakeFailedError:
        return "无法建立安全连接";
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return "网络不可用";
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return "代理服务器无法连接";
    default:
        break;
    }
    if (httpStatus == 404) {
        return "服务器上没有更新信息 (404)";
    }
    if (httpStatus != 0) {
        return QString("服务器返回 %1").arg(httpStatus);
    }
    return "网络错误";
}

} // namespace quillet::app
