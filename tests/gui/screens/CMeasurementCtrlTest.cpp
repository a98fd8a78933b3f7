#include "support/ProfileFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>

#include "gui/kit/CPaintPacer.h"
#include "gui/screens/CMeasurementCtrl.h"

namespace {

const QColor kPanel(28, 60, 114);

class CMeasurementCtrlTest : public ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        Profile().SetModelNumber(0);
        m_ctrl = std::make_unique<CMeasurementCtrl>(m_pacer);
        m_ctrl->BindProfile(&Profile());
        m_ctrl->BindRecords(&Records());
        m_ctrl->resize(475, 322);
    }
    void TearDown() override {
        m_ctrl.reset();
        ProfileFixture::TearDown();
    }

    CMeasurementCtrl& Ctrl() { return *m_ctrl; }
    std::string ItemText(int item) { return Ctrl().Item(item).text.toStdString(); }

private:
    CPaintPacer m_pacer;
    std::unique_ptr<CMeasurementCtrl> m_ctrl;
};

} // namespace

TEST_F(CMeasurementCtrlTest, FullRefreshFillsTextsAndTheGauge) {
    Profile().SetLimits(ChannelAvg, 30.0f, 50.0f);
    Profile().SetLimitEnabled(ChannelAvg, true);
    Record(ChannelAvg, {43.01f});
    Ctrl().SetStyle(StyleSmall);
    Ctrl().SetQuantity(ChannelAvg);
    Ctrl().Refresh(CMeasurementCtrl::RefreshAll);

    EXPECT_EQ(ItemText(ItemValue), "43.01 dBm");
    EXPECT_EQ(ItemText(ItemLabel), Text("S_MEASUREVIEW_AVG"));
    EXPECT_EQ(Ctrl().Gauge().Caption(), QStringLiteral("dBm"));
    EXPECT_DOUBLE_EQ(Ctrl().Gauge().GetMinValue(), 20.0);
    EXPECT_DOUBLE_EQ(Ctrl().Gauge().GetMaxValue(), 60.0);
    EXPECT_NEAR(Ctrl().Gauge().GetValue(), 43.01, 1e-4);
    EXPECT_EQ(Ctrl().Gauge().Bands().Count(), 3u);
    EXPECT_FALSE(Ctrl().Gauge().isHidden());
    // Right of the texts, square; Windows' hinting of the same face may widen a text by a pixel.
    const QRect gauge = Ctrl().Gauge().geometry();
    EXPECT_NEAR(gauge.left(), 200, 1);
    EXPECT_NEAR(gauge.top(), 28, 1);
    EXPECT_NEAR(gauge.width(), 265, 1);
    EXPECT_EQ(gauge.height(), gauge.width());
}

TEST_F(CMeasurementCtrlTest, DisablingLimitsHidesLinesAndBands) {
    Profile().SetLimitEnabled(ChannelAvg, true);
    Ctrl().SetStyle(StyleFullScreen);
    Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
    EXPECT_FALSE(Ctrl().Item(ItemHighLimit).rect.isEmpty());

    Profile().SetLimitEnabled(ChannelAvg, false);
    Ctrl().Refresh(CMeasurementCtrl::RefreshLimits);
    EXPECT_TRUE(Ctrl().Item(ItemHighLimit).rect.isEmpty());
    EXPECT_TRUE(Ctrl().Gauge().Bands().IsEmpty());
}

TEST_F(CMeasurementCtrlTest, AlarmColoursTheValueOfTheCurrentStyle) {
    Ctrl().SetStyle(StyleMain);
    Ctrl().SetQuantity(ChannelAvg);
    Record(ChannelAvg, {43.0f});
    Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
    Ctrl().SetAlarm(true);
    EXPECT_EQ(Ctrl().Item(ItemValue).colour, QColor(255, 0, 0));
    // After Reset the empty readout is no alarm, though the last reading was one.
    Records().ResetAll();
    Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
    EXPECT_EQ(Ctrl().Item(ItemValue).colour, QColor(0, 255, 0));
    Record(ChannelAvg, {43.0f});
    Ctrl().Refresh(CMeasurementCtrl::RefreshValues);
    EXPECT_EQ(Ctrl().Item(ItemValue).colour, QColor(255, 0, 0));
    Ctrl().SetAlarm(false);
    EXPECT_EQ(Ctrl().Item(ItemValue).colour, QColor(0, 255, 0));
    Ctrl().SetStyle(StyleSmall);
    EXPECT_EQ(Ctrl().Item(ItemValue).colour, QColor(192, 192, 192));
    EXPECT_FALSE(Ctrl().Gauge().isHidden());
}

TEST_F(CMeasurementCtrlTest, SelectionFrameIsGreenOnlyWhenSelected) {
    Ctrl().SetStyle(StyleMain);
    Ctrl().show();
    QImage image = Ctrl().grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), kPanel);
    Ctrl().SetSelected(true);
    image = Ctrl().grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(1, 1), kPanel);
    EXPECT_TRUE(Ctrl().Gauge().isHidden());
}

TEST_F(CMeasurementCtrlTest, QuantitiesOutsideTheChannelsAreNotRefreshed) {
    Ctrl().SetQuantity(7);
    Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
    EXPECT_TRUE(Ctrl().Item(ItemValue).text.isEmpty());
}

namespace {

// What the window system shows of a widget: its backing store, left as the partial repaints
// made it.
QImage OnScreen(QWidget& widget) {
    return widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

void ProcessFor(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

// New values repaint only the texts and the needle that changed; what remains on screen must
// be what a full repaint draws.
TEST_F(CMeasurementCtrlTest, RepaintsOfNewValuesLeaveTheSameImageAsAFullRepaint) {
    Ctrl().SetQuantity(ChannelAvg);
    Ctrl().show();
    for (const int style : {StyleSmall, StyleMain}) {
        Ctrl().SetStyle(style);
        Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
        ProcessFor(100);
        // Jumps, and steps that change a digit or two in place.
        for (const float value : {58.5f, 21.25f, 21.26f, 21.36f, 39.0f, 1.0f, 1.07f}) {
            Record(ChannelAvg, {value});
            Ctrl().Refresh(CMeasurementCtrl::RefreshValues);
            ProcessFor(3 * CPaintPacer::kIntervalMs);
        }
        EXPECT_EQ(OnScreen(Ctrl()), Ctrl().grab().toImage().convertToFormat(QImage::Format_RGB32)) << style;
    }
}

// A reading of another channel leaves the texts alone; one of its own, a setting they are shown
// with, or readings that are no longer live change them.
TEST_F(CMeasurementCtrlTest, NewValueRefreshesFollowTheirChannelAndTheirSettings) {
    Ctrl().SetQuantity(ChannelAvg);
    Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
    Record(ChannelAvg, {12.5f});
    Ctrl().Refresh(CMeasurementCtrl::RefreshValues);
    EXPECT_EQ(ItemText(ItemValue), "12.50 dBm");
    Profile().SetDecimalPlaces(1);
    Ctrl().Refresh(CMeasurementCtrl::RefreshValues);
    EXPECT_EQ(ItemText(ItemValue), "12.5 dBm");
    Records().ForgetCurrentValues();
    Ctrl().Refresh(CMeasurementCtrl::RefreshValues);
    EXPECT_EQ(ItemText(ItemValue), Text("S_MEASUREVIEW_NOVALUE"));
    EXPECT_DOUBLE_EQ(Ctrl().Gauge().GetValue(), 20.0) << "without a reading the needle rests at the minimum";
}

// In a tiled window or a small main window no line runs past the edge: it shrinks or is left
// out whole, and the value keeps its unit.
TEST_F(CMeasurementCtrlTest, SmallControlsCutNoTextAndNoGauge) {
    Profile().SetLimitEnabled(ChannelAvg, true);
    Record(ChannelAvg, {39.97f});
    Ctrl().SetQuantity(ChannelAvg);
    for (const int style : {StyleMain, StyleSmall, StyleFullScreen}) {
        for (const QSize size : {QSize(200, 150), QSize(310, 190), QSize(150, 330), QSize(630, 70)}) {
            Ctrl().SetStyle(style);
            Ctrl().resize(size);
            Ctrl().Refresh(CMeasurementCtrl::RefreshAll);
            EXPECT_EQ(ItemText(ItemValue), "39.97 dBm");
            for (int item = 0; item < kReadoutItemCount; ++item) {
                const MeasurementTextItem& shown = Ctrl().Item(item);
                if (shown.inked.isEmpty())
                    continue;
                EXPECT_LE(shown.rect.left() + shown.advance, size.width()) << style << " " << item;
                EXPECT_LE(shown.rect.top() + shown.fontHeight, size.height()) << style << " " << item;
            }
            EXPECT_FALSE(Ctrl().Item(ItemValue).inked.isEmpty()) << style;
            // No line is drawn over another (the ink margins of neighbours may touch).
            const auto box = [this](int item) { return Ctrl().Item(item).inked.adjusted(2, 2, -2, -2); };
            for (int item = 0; item < kReadoutItemCount; ++item) {
                for (int other = item + 1; other < kReadoutItemCount; ++other) {
                    if (!Ctrl().Item(item).inked.isEmpty() && !Ctrl().Item(other).inked.isEmpty()) {
                        EXPECT_FALSE(box(item).intersects(box(other)))
                            << style << " " << item << " " << other;
                    }
                }
            }
            const QRect gauge = Ctrl().Gauge().geometry();
            EXPECT_TRUE(Ctrl().Gauge().isHidden() || QRect(QPoint(), size).contains(gauge)) << style;
        }
    }
}
