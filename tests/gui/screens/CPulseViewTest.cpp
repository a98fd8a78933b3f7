#include "gui/screens/CPulseView.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CommandIds.h"
#include "appcore/ReadoutItem.h"
#include "gui/history/CGraphCtrl.h"
#include "gui/kit/CPaintPacer.h"
#include "gui/screens/CMeasurementCtrl.h"
#include "gui/screens/CPulseFrame.h"
#include "model/CSettingProfile.h"
#include "platform/CMessageBeep.h"
#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTimer>

#include "support/CIdleMeasurementLink.h"
#include "support/MouseEvents.h"

#include <gtest/gtest.h>

namespace {

class PulseViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_sink.answer = IDNO;
        CMessageBeep::SetPlayer([](BeepType) {});
        m_profile = std::make_unique<CSettingProfile>();
    }

    void TearDown() override {
        m_frame.reset();
        m_profile.reset();
        CMessageBeep::SetPlayer(nullptr);
    }

    CPulseView& Open(int model) {
        m_profile->SetModelNumber(model);
        m_frame = std::make_unique<CPulseFrame>(*m_profile, std::make_unique<CIdleMeasurementLink>());
        m_frame->resize(640, 480);
        m_frame->show();
        m_frame->View()->ConfigureForModel();
        return *m_frame->View();
    }

    // Start, and one pulse reply handed over as the engine would.
    void MeasureOnce(int32_t power, int32_t onCounts, int32_t periodCounts, int32_t pulses) {
        m_frame->OnCommand(ID_MEASURE_START);
        ASSERT_TRUE(m_frame->Controller().Pump());
        m_frame->Receiver()->OnPulseReading(1, power, onCounts, periodCounts, pulses, 1);
        QApplication::processEvents();
        m_frame->OnCommand(ID_MEASURE_STOP);
    }

    CCommandState Query(int id) const {
        CCommandState state;
        m_frame->OnUpdateCommand(id, state);
        return state;
    }

    CAppTestSandbox m_sandbox;
    CRecordingMessageSink& m_sink = m_sandbox.Messages();
    std::unique_ptr<CSettingProfile> m_profile;
    std::unique_ptr<CPulseFrame> m_frame;
};

} // namespace

TEST_F(PulseViewTest, ModelFiveShowsTheGraphAndRefusesThePeakAndVswrPanels) {
    CPulseView& view = Open(5);
    EXPECT_TRUE(view.Graph()->isVisible());
    EXPECT_FALSE(view.Panel(2)->isVisible());
    EXPECT_TRUE(view.Panel(1)->IsSelected());
    EXPECT_EQ(view.Panel(0)->GetQuantity(), ChannelPulse);
    EXPECT_FALSE(Query(ID_VIEW_HISTORYGRAPH).enabled);
    EXPECT_FALSE(Query(ID_SETASDEFAULT).enabled);

    // Full screen and back: the pulse lines in full screen, the graph again afterwards.
    SendMouse(view, QEvent::MouseButtonPress, view.Panel(1)->geometry().center());
    SendMouse(view, QEvent::MouseButtonDblClick, view.Panel(1)->geometry().center());
    EXPECT_EQ(view.Panel(1)->GetStyle(), StyleFullScreenPulse);
    EXPECT_EQ(view.Panel(1)->geometry(), view.rect());
    m_frame->OnCommand(ID_VIEW_MULTISCREEN);
    EXPECT_TRUE(view.Graph()->isVisible());
    EXPECT_EQ(view.Panel(1)->GetStyle(), StyleSmall);
}

TEST_F(PulseViewTest, ReadingsShowPulseDutyAndBurstWidthWithTheirAlarm) {
    m_profile->SetLimitEnabled(ChannelPulse, true);
    m_profile->SetAlarmOn(ChannelPulse, true);
    m_profile->SetLimits(ChannelPulse, 0.0f, 10.0f);
    CPulseView& view = Open(5);
    MeasureOnce(2000, 1, 4, 1);
    EXPECT_EQ(m_frame->View()->Handler().Records().Count(ChannelPulse), 1);
    EXPECT_TRUE(view.Panel(1)->GetAlarm());
    EXPECT_TRUE(view.Panel(0)->GetAlarm());
    RunUntil([] { return false; }, 2 * CPaintPacer::kIntervalMs); // new values are shown at the paint pace
    EXPECT_EQ(view.Panel(0)->Item(ItemDutyCycle).text, QStringLiteral("Duty Cycle [A] 25.00 %"));
    EXPECT_EQ(view.Panel(1)->Item(ItemBurstWidth).text, QStringLiteral("Burst Width   1.207 us"));
    EXPECT_TRUE(Query(ID_FILE_SAVE).enabled);

    // No pulse counted: not available, never "inf".
    m_sink.answer = IDNO;
    MeasureOnce(2000, 1, 0, 0);
    RunUntil([] { return false; }, 2 * CPaintPacer::kIntervalMs);
    EXPECT_EQ(view.Panel(0)->Item(ItemDutyCycle).text, QStringLiteral("Duty Cycle [A] N/A"));
    EXPECT_EQ(view.Panel(1)->Item(ItemBurstWidth).text, QStringLiteral("Burst Width   N/A"));
}

TEST_F(PulseViewTest, StartKeepsTheRecordsWhenTheSaveItAskedForDidNotHappen) {
    Open(5);
    MeasureOnce(2000, 1, 4, 1);
    m_sink.answer = IDYES;
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_FALSE(m_frame->Controller().IsRunning());
    EXPECT_EQ(m_frame->View()->Handler().Records().Count(ChannelPulse), 1);
    EXPECT_TRUE(Query(ID_FILE_SAVE).enabled);
}
