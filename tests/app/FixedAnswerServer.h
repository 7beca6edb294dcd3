#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>

// A web server on loopback that gives every request the same answer: a status line and a page,
// or, with an empty status, no answer at all (the connection stays open and silent).
class FixedAnswerServer : public QObject {
public:
    FixedAnswerServer(int status, const QByteArray& page);

    QString url(const QString& path) const;

private:
    void answer(class QTcpSocket* socket);

    QTcpServer server_;
    int status_;
    QByteArray page_;
};
