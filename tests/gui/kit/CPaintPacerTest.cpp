#include "gui/kit/CPaintPacer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>

#include <gtest/gtest.h>

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

void ProcessFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Processes events until the condition holds or two seconds pass.
template <typename Condition> bool ProcessUntil(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

TEST(CPaintPacer, ABurstOfRequestsEndsWithThePaintOfTheLastAndSkipsWidgetsThatWent) {
    CountingWidget widget;
    widget.resize(50, 50);
    widget.show();
    ASSERT_TRUE(ProcessUntil([&] { return widget.paints > 0; }));
    auto* gone = new CountingWidget;
    gone->show();
    ProcessFor(3 * CPaintPacer::kIntervalMs); // whatever earlier requests left is done
    const int before = widget.paints;
    CPaintPacer pacer;
    for (int i = 0; i < 20; ++i) {
        pacer.Request(&widget);
        pacer.Request(gone);
    }
    delete gone;
    QApplication::processEvents();
    // Twenty requests in one event are one round, after it.
    ASSERT_TRUE(ProcessUntil([&] { return widget.paints > before; }));
    pacer.Request(&widget);
    ProcessFor(4 * CPaintPacer::kIntervalMs);
    EXPECT_EQ(widget.paints - before, 2) << "a request right after a round waits for the next";
}

// The texts of new values are worked out once a round, with the latest values, before the
// repaint they ask for; work of an owner that went is dropped.
TEST(CPaintPacer, PreparedWorkRunsOnceARoundBeforeItsRepaintAndNotForAnOwnerThatWent) {
    CountingWidget widget;
    widget.show();
    ASSERT_TRUE(ProcessUntil([&] { return widget.paints > 0; }));
    CPaintPacer pacer;
    int prepared = 0;
    int value = 0;
    int shown = -1;
    auto* gone = new QObject;
    for (value = 1; value <= 10; ++value) {
        pacer.Prepare(&widget, [&] {
            ++prepared;
            shown = value;
            pacer.Request(&widget);
        });
        pacer.Prepare(gone, [] { ADD_FAILURE() << "ran for an owner that went"; });
    }
    delete gone;
    ASSERT_TRUE(ProcessUntil([&] { return prepared == 1; }));
    ProcessFor(3 * CPaintPacer::kIntervalMs);
    EXPECT_EQ(prepared, 1);
    EXPECT_EQ(shown, 11);
}

} // namespace
