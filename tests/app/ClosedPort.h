#pragma once

#include <QString>

// An address on loopback where nothing listens, for the failure paths of network clients.
QString closedLoopbackAddress(const QString& path);
