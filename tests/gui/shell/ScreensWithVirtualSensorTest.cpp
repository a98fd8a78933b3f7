#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CMeasurementCtrl.h"
#include "gui/screens/CMeasurementFrame.h"
#include "gui/screens/CMeasurementView.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/CModelTable.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// The main window and its screens against a virtual sensor on the USB layer, which a test can
// replace by a sensor of another model.
class ScreensWithVirtualSensor : public testing::Test {
protected:
    ScreensWithVirtualSensor() {
        std::filesystem::create_directories(m_sandbox.Path("usb"));
        ::setenv("PELMORA_USB_DIR", m_sandbox.Path("usb").c_str(), 1);
        m_frame = std::make_unique<CMainFrame>(std::make_unique<CEngineMeterLink>(m_engine));
        m_frame->Create(QString());
        m_frame->show();
        // Every screen opens with its setting dialog; these tests leave the settings alone.
        QObject::connect(&m_dismissDialogs, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        m_dismissDialogs.start(50);
    }
    ~ScreensWithVirtualSensor() override {
        m_frame.reset();
        m_engine.Disconnect();
        ::unsetenv("PELMORA_USB_DIR");
    }

    void Connect(int model) {
        if (m_frame->IsConnected())
            m_frame->ExecuteCommand(ID_DEVICE_DISCONNECT);
        m_sensor.reset();
        VirtualSensorConfig config;
        config.modelNumber = model;
        m_sensor = std::make_unique<CVirtualSensor>(config);
        ASSERT_TRUE(m_sensor->StartUsb(UsbVariant::Newer)) << m_sensor->LastError();
        m_frame->ConnectToPort(0);
        ASSERT_TRUE(RunUntil([&] { return !m_frame->IsConnecting(); }));
        ASSERT_TRUE(m_frame->IsConnected());
    }
    CScreenFrame* Open(int command) {
        m_frame->ExecuteCommand(command);
        return qobject_cast<CScreenFrame*>(m_frame->ActiveChild());
    }
    // Measures until the channel holds `count` more values, then stops.
    void Measure(CScreenFrame& screen, int channel, int count) {
        const int target = RecordsOf(screen).Count(channel) + count;
        screen.OnCommand(ID_MEASURE_START);
        ASSERT_TRUE(RunUntil([&] { return RecordsOf(screen).Count(channel) >= target; }));
        screen.OnCommand(ID_MEASURE_STOP);
    }
    static const CRecordStore& RecordsOf(CScreenFrame& screen) {
        return screen.Controller().Recording().Records();
    }
    int Questions() {
        const std::vector<std::string> texts = m_sandbox.Messages().Texts();
        return static_cast<int>(
            std::count(texts.begin(), texts.end(), CAppTestSandbox::GeneralText("S_SCREEN_ONDISCARD")));
    }
    void Answer(int button) { m_sandbox.Messages().answer = button; }
    CHistoryData SaveAndLoad(CScreenFrame& screen, const std::string& name) {
        CHistoryData saved;
        EXPECT_TRUE(screen.SaveHistoryTo(QString::fromStdString(m_sandbox.Path(name))));
        EXPECT_TRUE(CHistoryFile::LoadHistory(m_sandbox.Path(name), saved).ok);
        return saved;
    }
    static QString PanelValue(CScreenFrame* screen, int panel) {
        return static_cast<CMeasurementFrame*>(screen)->View()->Panel(panel)->Item(ItemValue).text;
    }
    static QString ModelName(int model) {
        return QString::fromLatin1(CModelTable::FindByNumber(model)->name);
    }

    CAppTestSandbox m_sandbox;
    std::unique_ptr<CVirtualSensor> m_sensor;
    CMeterEngine m_engine;
    std::unique_ptr<CMainFrame> m_frame;
    QTimer m_dismissDialogs;
};

} // namespace

TEST_F(ScreensWithVirtualSensor, ChannelsWithoutAReadingShowNotAvailableBeforeStartAndAfterReset) {
    Connect(0);
    CScreenFrame* screen = Open(ID_MODE_AVGPEAK);
    ASSERT_NE(screen, nullptr);
    const QString none = QString::fromStdString(CAppTestSandbox::GeneralText("S_MEASUREVIEW_NOVALUE"));
    for (int panel = 0; panel < 4; ++panel)
        EXPECT_EQ(PanelValue(screen, panel), none) << panel;

    Measure(*screen, ChannelVswr, 2);
    EXPECT_TRUE(RunUntil([&] { return PanelValue(screen, 3) != none; }));
    Answer(IDYES);
    screen->OnCommand(ID_MEASURE_RESET);
    EXPECT_TRUE(RunUntil([&] { return PanelValue(screen, 1) == none && PanelValue(screen, 3) == none; }));
}

TEST_F(ScreensWithVirtualSensor, AnotherSensorReconfiguresOrClosesTheScreensAndNeverJoinsTheirRecords) {
    Connect(4);
    CScreenFrame* pulse = Open(ID_MODE_PULSE);
    ASSERT_NE(pulse, nullptr);
    Measure(*pulse, ChannelPulse, 2);
    Answer(IDNO);
    m_frame->ExecuteCommand(ID_DEVICE_DISCONNECT);
    EXPECT_EQ(Questions(), 1);
    EXPECT_GE(RecordsOf(*pulse).Count(ChannelPulse), 2) << "declining to save at Disconnect drops nothing";

    Connect(1); // a model without a PULSE mode: the screen cannot serve it
    EXPECT_EQ(Questions(), 2);
    EXPECT_TRUE(RunUntil([&] { return m_frame->FindChild(ChildKind::Pulse) == nullptr; }));

    CScreenFrame* screen = Open(ID_MODE_AVG);
    ASSERT_NE(screen, nullptr);
    Measure(*screen, ChannelAvg, 2);
    Answer(IDNO);
    m_frame->ExecuteCommand(ID_DEVICE_DISCONNECT);
    Connect(3); // a peak-only model takes over the open screen
    EXPECT_EQ(m_frame->FindChild(ChildKind::Measurement), screen);
    EXPECT_TRUE(screen->windowTitle().endsWith(ModelName(3))) << screen->windowTitle().toStdString();
    EXPECT_EQ(screen->MainQuantity(), ChannelPeak);
    EXPECT_TRUE(RecordsOf(*screen).IsEmpty(ChannelAvg));

    Measure(*screen, ChannelPeak, 2);
    const CHistoryData saved = SaveAndLoad(*screen, "peak.psh");
    EXPECT_EQ(saved.Header().Mask(), 0x02);
    EXPECT_EQ(QString::fromStdString(saved.Header().Text(HistoryText::ModelName)), ModelName(3));
}

TEST_F(ScreensWithVirtualSensor, SingleSweepOnModel5MeasuresForwardReverseAndPeakAndSavesTheRow) {
    Connect(5);
    CScreenFrame* screen = Open(ID_MODE_AVGPEAK);
    ASSERT_NE(screen, nullptr);
    m_frame->Profile().SetSingleSweep(true);
    screen->OnCommand(ID_MEASURE_START);
    ASSERT_TRUE(RunUntil([&] { return !screen->Controller().IsRunning(); }));
    EXPECT_EQ(RecordsOf(*screen).Count(ChannelAvg), 1);
    EXPECT_EQ(RecordsOf(*screen).Count(ChannelPeak), 1);

    EXPECT_EQ(SaveAndLoad(*screen, "sweep.psh").RowCount(), 1);
}

TEST_F(ScreensWithVirtualSensor, SwitchingScreensAndExitAskBeforeAnUnsavedMeasurementGoes) {
    Connect(0);
    CScreenFrame* screen = Open(ID_MODE_AVGPEAK);
    ASSERT_NE(screen, nullptr);
    Measure(*screen, ChannelAvg, 2);

    Answer(IDCANCEL);
    m_frame->ExecuteCommand(ID_MODE_PULSE);
    EXPECT_EQ(Questions(), 1);
    EXPECT_EQ(m_frame->ActiveChild(), screen) << "cancelled: the measurement stays on screen";

    const QString path = QString::fromStdString(m_sandbox.Path("kept.psh"));
    screen->SetSavePathChooser([path] { return path; });
    Answer(IDYES);
    CScreenFrame* pulse = Open(ID_MODE_PULSE);
    ASSERT_NE(pulse, nullptr);
    EXPECT_EQ(pulse->Kind(), ChildKind::Pulse);
    EXPECT_TRUE(std::filesystem::exists(path.toStdString()));

    Measure(*pulse, ChannelPulse, 2);
    Answer(IDNO);
    screen = Open(ID_MODE_AVGPEAK);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(RecordsOf(*screen).IsEmpty(ChannelAvg)) << "declined: nothing old is shown as if kept";
    EXPECT_FALSE(m_frame->QueryCommand(ID_FILE_SAVE).enabled);

    Measure(*screen, ChannelAvg, 2);
    Answer(IDCANCEL);
    EXPECT_FALSE(m_frame->close());
    EXPECT_EQ(m_frame->FindChild(ChildKind::Measurement), screen);

    // With a history viewer active, the PULSE screen opens beside this one. Its Start stops the
    // other screen, whose measurement stays its own and asks nothing.
    ASSERT_TRUE(m_frame->OpenHistoryFile(path));
    pulse = Open(ID_MODE_PULSE);
    ASSERT_NE(pulse, nullptr);
    screen->OnCommand(ID_MEASURE_START);
    ASSERT_TRUE(RunUntil([&] { return RecordsOf(*screen).Count(ChannelAvg) >= 2; }));
    const int asked = Questions();
    pulse->OnCommand(ID_MEASURE_START);
    EXPECT_EQ(Questions(), asked);
    EXPECT_TRUE(pulse->Controller().IsRunning());
    EXPECT_FALSE(screen->Controller().IsRunning());
    EXPECT_GE(RecordsOf(*screen).Count(ChannelAvg), 2);
    EXPECT_TRUE(screen->Controller().CanSave());
}

TEST_F(ScreensWithVirtualSensor, ReconnectingKeepsTheLimitsInForceAndShowsThem) {
    Connect(0);
    CScreenFrame* screen = Open(ID_MODE_AVGPEAK);
    ASSERT_NE(screen, nullptr);
    m_frame->ExecuteCommand(ID_LIMITCHECK_ENABLE); // on the selected AVG readout
    ASSERT_TRUE(m_frame->Profile().IsLimitEnabled(ChannelAvg));

    Connect(0);
    EXPECT_TRUE(m_frame->Profile().IsLimitEnabled(ChannelAvg));
    Connect(1);
    Connect(0);
    EXPECT_TRUE(m_frame->Profile().IsLimitEnabled(ChannelAvg)) << "kept while another model was connected";
    const auto* view = static_cast<CMeasurementFrame*>(screen)->View();
    EXPECT_TRUE(RunUntil([&] { return !view->Panel(1)->Item(ItemLowLimit).text.isEmpty(); }));
}
