#include "gui/screens/CMeasurementView.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CommandIds.h"
#include "appcore/ReadoutItem.h"
#include "gui/history/CGraphCtrl.h"
#include "gui/screens/CMeasurementCtrl.h"
#include "gui/screens/CMeasurementFrame.h"
#include "model/CSettingProfile.h"
#include "platform/CMessageBeep.h"
#include "support/CAppTestSandbox.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "support/CIdleMeasurementLink.h"
#include "support/MouseEvents.h"

#include <gtest/gtest.h>

namespace {

class MeasurementViewTest : public ::testing::Test {
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

    CMeasurementView& Open(int model) {
        m_profile->SetModelNumber(model);
        auto link = std::make_unique<CIdleMeasurementLink>();
        m_link = link.get();
        m_frame = std::make_unique<CMeasurementFrame>(*m_profile, std::move(link));
        m_frame->resize(640, 480);
        m_frame->show();
        m_frame->View()->ConfigureForModel();
        return *m_frame->View();
    }

    static QPoint CentreOf(const QWidget* widget) { return widget->geometry().center(); }

    static void DoubleClick(CMeasurementView& view, const QWidget* target) {
        SendMouse(view, QEvent::MouseButtonPress, CentreOf(target));
        SendMouse(view, QEvent::MouseButtonDblClick, CentreOf(target));
    }

    const CRecordStore& Records() { return m_frame->View()->Handler().Records(); }

    CCommandState Query(int id) const {
        CCommandState state;
        m_frame->OnUpdateCommand(id, state);
        return state;
    }

    CAppTestSandbox m_sandbox;
    CRecordingMessageSink& m_sink = m_sandbox.Messages();
    std::unique_ptr<CSettingProfile> m_profile;
    std::unique_ptr<CMeasurementFrame> m_frame;
    CIdleMeasurementLink* m_link = nullptr;
};

} // namespace

TEST_F(MeasurementViewTest, AvgOnlySensorShowsGraphAndRefusesOtherPanels) {
    CMeasurementView& view = Open(1);
    EXPECT_TRUE(view.Graph()->isVisible());
    EXPECT_FALSE(view.Panel(2)->isVisible());
    EXPECT_TRUE(view.Panel(1)->IsSelected());
    SendMouse(view, QEvent::MouseButtonPress, CentreOf(view.Panel(0)));
    EXPECT_TRUE(view.Panel(0)->IsSelected());
    EXPECT_FALSE(view.Panel(1)->IsSelected());
    EXPECT_FALSE(Query(ID_VIEW_HISTORYGRAPH).enabled);
}

// The screen activates on a click on its title bar or contents, as any window does, also when
// a history window was active: its menus and Start/Stop are reachable then.
TEST_F(MeasurementViewTest, ClickOnTitleBarOrContentsActivatesTheScreen) {
    QMdiArea area;
    area.resize(800, 600);
    auto* screen = new CMeasurementFrame(*m_profile, std::make_unique<CIdleMeasurementLink>());
    auto* history = area.addSubWindow(new QPlainTextEdit);
    area.addSubWindow(screen);
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    screen->setGeometry(0, 0, 400, 300);
    history->setGeometry(420, 0, 300, 300);
    const auto activateHistory = [&] {
        QTest::mouseClick(history->widget(), Qt::LeftButton);
        ASSERT_EQ(area.activeSubWindow(), history);
    };
    activateHistory();
    QTest::mouseClick(screen->widget(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(area.activeSubWindow(), screen);
    activateHistory();
    const int titleBar = screen->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, screen);
    QTest::mouseClick(screen, Qt::LeftButton, {}, QPoint(screen->width() / 3, titleBar / 2));
    EXPECT_EQ(area.activeSubWindow(), screen);
}

TEST_F(MeasurementViewTest, DoubleClickingPanelZeroTogglesFullScreen) {
    CMeasurementView& view = Open(0);
    DoubleClick(view, view.Panel(0));
    EXPECT_EQ(view.Layout().FullScreenPanel(), 0);
    EXPECT_EQ(view.Panel(0)->geometry(), view.rect());
    EXPECT_FALSE(view.Panel(1)->isVisible());
    EXPECT_TRUE(Query(ID_VIEW_FULLSCREEN).checked);

    DoubleClick(view, view.Panel(0));
    EXPECT_FALSE(view.Layout().IsFullScreen());
    EXPECT_TRUE(view.Panel(3)->isVisible());
    EXPECT_TRUE(Query(ID_VIEW_MULTISCREEN).checked);
}

TEST_F(MeasurementViewTest, DoubleClickingAnotherQuantityMakesItTheMainOne) {
    CMeasurementView& view = Open(0);
    view.Panel(3)->SetAlarm(true);
    DoubleClick(view, view.Panel(3));
    EXPECT_EQ(view.Layout().MainQuantity(), ChannelVswr);
    EXPECT_EQ(view.Panel(0)->GetQuantity(), ChannelVswr);
    EXPECT_TRUE(view.Panel(0)->GetAlarm()) << "panel 0 takes over the alarm state";
    EXPECT_EQ(view.Graph()->GetChannel(), ChannelVswr);
    EXPECT_EQ(view.Panel(3)->geometry().topLeft(), QPoint(view.Panel(1)->width() + 2, 1))
        << "moved top right";
    EXPECT_FALSE(Query(ID_SETASDEFAULT).enabled);
    EXPECT_FALSE(Query(ID_MODE_RELATIVE).enabled) << "VSWR has no relative mode";
}

TEST_F(MeasurementViewTest, AModeChangeHereOrInTheSettingDialogRestartsTheReference) {
    CMeasurementView& view = Open(1);
    m_frame->OnCommand(ID_MEASURE_START);
    const auto reading = [&](int32_t value) {
        ASSERT_TRUE(m_frame->Controller().Pump());
        view.Handler().OnAvgReading(1, value);
    };
    reading(1500);
    m_frame->OnCommand(ID_MODE_RELATIVE);
    EXPECT_FALSE(Records().HasExtremes(ChannelAvg));
    reading(1600);
    EXPECT_FLOAT_EQ(Records().Reference(ChannelAvg), 16.0f);
    m_profile->SetRelativeMode(false); // as the setting dialog does
    reading(1700);
    EXPECT_FLOAT_EQ(Records().Reference(ChannelAvg), 17.0f) << "restarted with the next reading";
}

TEST_F(MeasurementViewTest, ReadingsReachTheReadoutsWithTheirAlarm) {
    m_profile->SetLimitEnabled(ChannelPeak, true);
    m_profile->SetAlarmOn(ChannelPeak, true);
    m_profile->SetLimits(ChannelPeak, 0.0f, 10.0f);
    CMeasurementView& view = Open(3);
    ASSERT_EQ(view.Layout().MainQuantity(), ChannelPeak);
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_TRUE(m_frame->Controller().Pump());
    m_frame->Receiver()->OnPeakReading(1, 2000); // queued to this thread
    EXPECT_EQ(Records().Count(ChannelPeak), 0);
    QApplication::processEvents();
    EXPECT_EQ(Records().Count(ChannelPeak), 1);
    EXPECT_TRUE(view.Panel(2)->GetAlarm());
    EXPECT_TRUE(view.Panel(0)->GetAlarm());
}

TEST_F(MeasurementViewTest, QuestionsGuardResetAndStart) {
    CMeasurementView& view = Open(1);
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_TRUE(m_frame->Controller().Pump());
    view.Handler().OnAvgReading(1, 1500);
    m_sink.answer = IDNO;
    m_frame->OnCommand(ID_MEASURE_RESET);
    EXPECT_EQ(Records().Count(ChannelAvg), 1) << "answered no";
    ASSERT_EQ(m_sink.shown.size(), 1u);
    EXPECT_EQ(m_sink.shown.back().style, 0x24u);

    m_frame->OnCommand(ID_MEASURE_STOP);
    EXPECT_TRUE(Query(ID_FILE_SAVE).enabled);
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_EQ(m_sink.shown.size(), 2u) << "Start asks before discarding the measurement";
    EXPECT_TRUE(Records().IsEmpty(ChannelAvg));

    m_sink.answer = IDYES;
    m_frame->OnCommand(ID_MEASURE_RESET);
    EXPECT_TRUE(m_frame->Controller().IsRunning()) << "Reset does not stop";
}

TEST_F(MeasurementViewTest, FailedSaveReportsAndStaysUnsaved) {
    CMeasurementView& view = Open(1);
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_TRUE(m_frame->Controller().Pump());
    view.Handler().OnAvgReading(1, 1500);
    m_frame->OnCommand(ID_MEASURE_STOP);
    EXPECT_FALSE(m_frame->SaveHistoryTo(QString::fromStdString(m_sandbox.Path("no/such/dir/a.psh"))));
    ASSERT_FALSE(m_sink.shown.empty());
    EXPECT_EQ(m_sink.shown.back().style, 0x10u);
    EXPECT_TRUE(Query(ID_FILE_SAVE).enabled);
    EXPECT_TRUE(m_frame->SaveHistoryTo(QString::fromStdString(m_sandbox.Path("a.psh"))));
    EXPECT_FALSE(Query(ID_FILE_SAVE).enabled);
}

TEST_F(MeasurementViewTest, StartKeepsTheRecordsWhenTheSaveItAskedForDidNotHappen) {
    CMeasurementView& view = Open(1);
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_TRUE(m_frame->Controller().Pump());
    view.Handler().OnAvgReading(1, 1500);
    m_frame->OnCommand(ID_MEASURE_STOP);
    m_sink.answer = IDYES;
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_FALSE(m_frame->Controller().IsRunning());
    EXPECT_EQ(Records().Count(ChannelAvg), 1);
}

TEST_F(MeasurementViewTest, ClosingDropsThePendingReading) {
    Open(1);
    m_frame->OnCommand(ID_MEASURE_START);
    EXPECT_TRUE(m_frame->Controller().Pump());
    ASSERT_TRUE(m_frame->Controller().IsAwaitingReply());
    m_frame->close();
    EXPECT_TRUE(m_link->ticket->IsDropped());
    EXPECT_FALSE(m_frame->Controller().IsRunning());
}
