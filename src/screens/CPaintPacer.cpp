#include "screens/CPaintPacer.h"

#include <QCoreApplication>

#include <algorithm>

CPaintPacer::CPaintPacer(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPaintPacer::Flush);
}

// Owned by the application object, so that its timer goes with the event loop it runs in.
CPaintPacer& CPaintPacer::Instance() {
    static QPointer<CPaintPacer> pacer;
    if (!pacer)
        pacer = new CPaintPacer(QCoreApplication::instance());
    return *pacer;
}

void CPaintPacer::Request(QWidget* widget) {
    Instance().Add(widget);
}

void CPaintPacer::Add(QWidget* widget) {
    if (std::find(m_pending.begin(), m_pending.end(), widget) == m_pending.end())
        m_pending.emplace_back(widget);
    if (m_timer.isActive())
        return;
    const qint64 since = m_sinceFlush.isValid() ? m_sinceFlush.elapsed() : kIntervalMs;
    if (since >= kIntervalMs)
        Flush();
    else
        m_timer.start(static_cast<int>(kIntervalMs - since));
}

void CPaintPacer::Flush() {
    m_sinceFlush.start();
    std::vector<QPointer<QWidget>> due;
    due.swap(m_pending);
    for (const QPointer<QWidget>& widget : due) {
        if (widget)
            widget->update();
    }
}
