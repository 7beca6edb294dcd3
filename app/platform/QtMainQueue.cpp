#include "QtMainQueue.h"

#include <QCoreApplication>
#include <QMetaObject>

void QtMainQueue::async(std::function<void()> work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}
