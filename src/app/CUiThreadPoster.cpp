#include "app/CUiThreadPoster.h"

#include <QCoreApplication>
#include <QMetaObject>

void CUiThreadPoster::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(call), Qt::QueuedConnection);
}
