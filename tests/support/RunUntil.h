#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Turns the event loop until the condition holds or the time is up; the condition's last answer.
template <typename Condition> bool RunUntil(Condition condition, qint64 limitMs = 20000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition() && elapsed.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}
