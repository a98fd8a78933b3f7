#include "gui/kit/CPaintPacer.h"

#include <algorithm>

CPaintPacer::CPaintPacer(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPaintPacer::Flush);
}

void CPaintPacer::Request(QWidget* widget) {
    Add(widget, widget->rect());
}

void CPaintPacer::Request(QWidget* widget, const QRect& area) {
    if (!area.isEmpty())
        Add(widget, area);
}

void CPaintPacer::Add(QWidget* widget, const QRect& area) {
    const auto found = std::find_if(m_pending.begin(), m_pending.end(),
                                    [widget](const Pending& pending) { return pending.widget == widget; });
    if (found == m_pending.end())
        m_pending.push_back({widget, area});
    else
        found->area |= area;
    Schedule();
}

void CPaintPacer::Prepare(QObject* owner, std::function<void()> prepare) {
    const auto found = std::find_if(m_preparations.begin(), m_preparations.end(),
                                    [owner](const Preparation& waiting) { return waiting.owner == owner; });
    if (found == m_preparations.end())
        m_preparations.push_back({owner, std::move(prepare)});
    else
        found->prepare = std::move(prepare);
    Schedule();
}

void CPaintPacer::Schedule() {
    if (m_flushing)
        return; // the round under way takes it
    const qint64 since = m_sinceFlush.isValid() ? m_sinceFlush.elapsed() : kIntervalMs;
    // A round that is due runs as soon as the present event is handled, so that the readings
    // handed over in one call are painted together.
    if (since >= kIntervalMs) {
        if (!m_timer.isActive() || m_timer.interval() != 0)
            m_timer.start(0);
    } else if (!m_timer.isActive()) {
        m_timer.start(static_cast<int>(2 * kIntervalMs - since));
    }
}

void CPaintPacer::Flush() {
    m_timer.stop();
    m_sinceFlush.start();
    m_flushing = true;
    std::vector<Preparation> preparations;
    preparations.swap(m_preparations);
    for (const Preparation& preparation : preparations) {
        if (preparation.owner)
            preparation.prepare();
    }
    m_flushing = false;
    std::vector<Pending> due;
    due.swap(m_pending);
    for (const Pending& pending : due) {
        if (pending.widget)
            pending.widget->update(pending.area);
    }
}
