#include "ClosedPort.h"

#include <QTcpServer>

QString closedLoopbackAddress(const QString& path) {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close(); // the port was free a moment ago and nobody listens on it now
    return QString("http://127.0.0.1:%1%2").arg(port).arg(path);
}
