#include "support/MouseEvents.h"
#include "support/RunUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <cmath>

#include "gui/kit/CPaintPacer.h"
#include "gui/screens/CAnalogGuage.h"

namespace {

// Remembers where the last button press arrived.
class ClickRecorder : public QWidget {
public:
    QPoint lastPress{-1, -1};
    Qt::MouseButton lastButton = Qt::NoButton;
    int doubleClicks = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        lastPress = event->position().toPoint();
        lastButton = event->button();
    }
    void mouseDoubleClickEvent(QMouseEvent*) override { ++doubleClicks; }
};

class CountingGauge : public CAnalogGuage {
public:
    using CAnalogGuage::CAnalogGuage;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CAnalogGuage::paintEvent(event);
    }
};

int RedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            count += colour.red() > 200 && colour.green() < 60 && colour.blue() < 60 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(CAnalogGuage, ValuesAreClampedIntoTheRange) {
    CPaintPacer pacer;
    CAnalogGuage gauge(pacer);
    gauge.SetMinValue(20.0);
    gauge.SetMaxValue(60.0);
    gauge.SetValue(75.0);
    EXPECT_DOUBLE_EQ(gauge.GetValue(), 60.0);
    gauge.SetValue(-5.0);
    EXPECT_DOUBLE_EQ(gauge.GetValue(), 20.0);
    gauge.SetValue(std::nan(""));
    EXPECT_DOUBLE_EQ(gauge.GetValue(), 20.0);
    // The range itself does not move the needle.
    gauge.SetMinValue(30.0);
    EXPECT_DOUBLE_EQ(gauge.GetValue(), 20.0);
}

TEST(CAnalogGuage, StepsTooSmallToSeeAddUpToARepaintOfTheNeedle) {
    CPaintPacer pacer;
    CountingGauge gauge(pacer);
    gauge.resize(300, 300);
    gauge.SetMinValue(20.0);
    gauge.SetMaxValue(60.0);
    gauge.SetValue(40.0);
    gauge.show();
    ASSERT_TRUE(RunUntil([&] { return gauge.paints > 0; }));
    RunUntil([] { return false; }, 100); // whatever was asked for is painted
    const int before = gauge.paints;
    for (int step = 1; step <= 100; ++step) {
        gauge.SetValue(40.0 + step * 0.0001);
        QCoreApplication::processEvents();
    }
    RunUntil([] { return false; }, 100);
    EXPECT_EQ(gauge.paints, before);
    for (int step = 1; step <= 100 && gauge.paints == before; ++step) {
        gauge.SetValue(40.0 + step * 0.01);
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(RunUntil([&] { return gauge.paints > before; }, 1000));
}

// A repaint copies the needle's surroundings as drawn before for a value already shown; they
// must look as the layers drawn one by one.
TEST(CAnalogGuage, RepaintsLookAsTheLayersDrawnOneByOne) {
    CPaintPacer pacer;
    CAnalogGuage gauge(pacer);
    gauge.resize(300, 300);
    gauge.SetMinValue(20.0);
    gauge.SetMaxValue(60.0);
    for (const double value : {40.0, 47.3, 40.0, 21.0}) {
        gauge.SetValue(value);
        const QImage repainted = gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(repainted, gauge.Render().convertToFormat(QImage::Format_RGB32)) << value;
    }
}

TEST(CAnalogGuage, SmallWindowStillDrawsTheWholeMinimumDial) {
    CPaintPacer pacer;
    CAnalogGuage gauge(pacer);
    gauge.resize(60, 40);
    gauge.show();
    const QImage image = gauge.Render();
    EXPECT_EQ(image.size(), QSize(100, 100));
    EXPECT_FLOAT_EQ(gauge.GetScaleFactor(), 0.5f);
}

TEST(CAnalogGuage, EmptyRangeDrawsNeedleAndNoBands) {
    CPaintPacer pacer;
    CAnalogGuage gauge(pacer);
    gauge.resize(200, 200);
    gauge.SetMinValue(5.0);
    gauge.SetMaxValue(5.0);
    gauge.SetValue(5.0);
    gauge.AddBand(0.0, 10.0, 0xFF00FF00);
    const QImage image = gauge.Render();
    EXPECT_GT(RedPixels(image), 50); // the needle
}

TEST(CAnalogGuage, BandsPaintTheirColourAndClearBandsRemovesThem) {
    CPaintPacer pacer;
    CAnalogGuage gauge(pacer);
    gauge.resize(300, 300);
    gauge.SetMinValue(20.0);
    gauge.SetMaxValue(60.0);
    gauge.SetValue(20.0);
    const int needleOnly = RedPixels(gauge.Render());
    gauge.AddBand(20.0, 60.0, 0xFFFF0000);
    gauge.update();
    EXPECT_GT(RedPixels(gauge.Render()), needleOnly + 500);
    gauge.ClearBands();
    gauge.update();
    EXPECT_EQ(RedPixels(gauge.Render()), needleOnly);
}

TEST(CAnalogGuage, ClicksReachTheOwnerAtTheSamePlace) {
    CPaintPacer pacer;
    ClickRecorder owner;
    owner.resize(400, 300);
    auto* gauge = new CAnalogGuage(pacer, &owner);
    gauge->setGeometry(150, 20, 200, 200);
    owner.show();

    SendMouse(*gauge, QEvent::MouseButtonPress, QPoint(10, 15), Qt::RightButton);
    EXPECT_EQ(owner.lastPress, QPoint(160, 35));
    EXPECT_EQ(owner.lastButton, Qt::RightButton);
    SendMouse(*gauge, QEvent::MouseButtonDblClick, QPoint(5, 5));
    EXPECT_EQ(owner.doubleClicks, 1);
}
