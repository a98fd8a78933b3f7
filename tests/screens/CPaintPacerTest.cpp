#include "screens/CPaintPacer.h"

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
    QApplication::processEvents();
    const int before = widget.paints;
    for (int i = 0; i < 20; ++i) {
        CPaintPacer::Request(&widget);
        CPaintPacer::Request(gone);
    }
    delete gone;
    QApplication::processEvents();
    // Twenty requests at once are two rounds: one at once and one at the interval's end.
    ASSERT_TRUE(ProcessUntil([&] { return widget.paints >= before + 2; }));
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 4 * CPaintPacer::kIntervalMs)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_LE(widget.paints - before, 2);
}

} // namespace
