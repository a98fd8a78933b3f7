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
    // Twenty requests at once are two rounds: one at once and one when nothing else comes.
    ASSERT_TRUE(ProcessUntil([&] { return widget.paints >= before + 2; }));
    ProcessFor(4 * CPaintPacer::kIntervalMs);
    EXPECT_LE(widget.paints - before, 2);
}

} // namespace
