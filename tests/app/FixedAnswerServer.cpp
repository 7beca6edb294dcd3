#include "FixedAnswerServer.h"

#include <QTcpSocket>

FixedAnswerServer::FixedAnswerServer(int status, const QByteArray& page)
    : status_(status), page_(page) {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

QString FixedAnswerServer::url(const QString& path) const {
    return QString("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
}

void FixedAnswerServer::answer(QTcpSocket* socket) {
    if (status_ == 0 || !socket->peek(1 << 16).contains("\r\n\r\n")) {
        return; // silent, or the request is not complete yet
    }
    socket->readAll();
    QByteArray response = "HTTP/1.1 " + QByteArray::number(status_) + " Status\r\n";
    response += "Content-Type: text/html; charset=utf-8\r\nContent-Length: " +
                QByteArray::number(page_.size()) + "\r\nConnection: close\r\n\r\n" + page_;
    socket->write(response);
    socket->disconnectFromHost();
}
