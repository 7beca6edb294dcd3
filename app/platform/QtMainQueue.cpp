#include "QtMainQueue.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace quillet::app {

void QtMainQueue::async(std::function<void()> work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

} // namespace quillet::app
