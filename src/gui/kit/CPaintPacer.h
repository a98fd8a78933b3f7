#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

// Readings arrive up to 50 times a second, more often than anyone can read a display. Widgets
// whose new value changed ask for their repaint here; the pacer repaints them together at most
// 10 times a second, as often as a bench meter's display changes and enough for a needle to
// follow a tuning hand: right after the present event when the last round is older than the
// interval, else with the first request after that, or at the latest one interval later, so
// that a steady stream of readings is painted as it arrives without waking the event loop once
// more for the paint. The data itself is never held back, only the painting. A widget may name
// the rectangle that changed; only that is then repainted: a rectangle is clipped and filled on
// the painter's fast path, a region of several is not. Work whose only outcome is such a
// repaint (the texts of a new value) may wait for the round as well: it then runs once a round
// however many readings came, just before the repaints. The window that holds the widgets owns
// their pacer. User-interface thread only.
class CPaintPacer : public QObject {
public:
    static constexpr int kIntervalMs = 100;

    explicit CPaintPacer(QObject* parent = nullptr);

    void Request(QWidget* widget);
    void Request(QWidget* widget, const QRect& area);
    // Runs `prepare` at the next round, once however often it is asked for; `owner` names the
    // work, and it is dropped when the owner is gone.
    void Prepare(QObject* owner, std::function<void()> prepare);

private:
    struct Pending {
        QPointer<QWidget> widget;
        QRect area;
    };

    struct Preparation {
        QPointer<QObject> owner;
        std::function<void()> prepare;
    };

    void Add(QWidget* widget, const QRect& area);
    void Schedule();
    void Flush();

    QTimer m_timer;
    QElapsedTimer m_sinceFlush;
    std::vector<Pending> m_pending;
    std::vector<Preparation> m_preparations;
    bool m_flushing = false;
};
