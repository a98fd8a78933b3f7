#include "support/CAppTestSandbox.h"
#include "support/CDeviceSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CCcdfFrame.h"
#include "gui/screens/CCcdfGraphCtrl.h"
#include "gui/screens/CCcdfView.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CStatusPanes.h"
#include "history/CHistoryFile.h"
#include "model/CModelTable.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The sensor goes away in the middle of a measurement and comes back on the same port five
// seconds later, over a COM port (true) or USB (false). The COM line pauses half a second after
// every command, so there a sensor with one quantity keeps the test short; over USB a directional
// one shows that the rows of its three quantities stay aligned.
class ReconnectWithVirtualSensor : public ::testing::TestWithParam<bool> {
protected:
    bool StartSensor() {
        m_sensor = std::make_unique<CVirtualSensor>(m_config);
        if (!GetParam())
            return m_sensor->StartUsb(UsbVariant::Newer);
        m_port = m_sensor->StartSerial(m_port);
        return m_port > 0;
    }

    CAppTestSandbox m_sandbox;
    CDeviceSandbox m_devices;
    VirtualSensorConfig m_config;
    std::unique_ptr<CVirtualSensor> m_sensor;
    int m_port = 0;
};

// Closes the setting dialog a screen opens with, while `timer` lives.
void DismissDialogs(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    timer.start(50);
}

} // namespace

TEST_P(ReconnectWithVirtualSensor, TheScreenSaysSoShowsNoStaleValueAndResumesWithTheGapRecorded) {
    m_config.modelNumber = GetParam() ? 1 : 0;
    m_config.usbDeviceName = "sensor";
    const std::vector<int> channels =
        GetParam() ? std::vector<int>{ChannelAvg} : std::vector<int>{ChannelAvg, ChannelVswr, ChannelPeak};
    ASSERT_TRUE(StartSensor()) << m_sensor->LastError();
    CMeterEngine engine;
    CMainFrame frame(std::make_unique<CEngineMeterLink>(engine));
    ASSERT_TRUE(frame.Create(QString()));
    frame.show();
    frame.ConnectToPort(m_port);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 10000) && frame.IsConnected());
    QTimer dismiss;
    DismissDialogs(dismiss);
    frame.ExecuteCommand(GetParam() ? ID_MODE_AVG : ID_MODE_AVGPEAK);
    ASSERT_TRUE(RunUntil([] { return QApplication::activeModalWidget() == nullptr; }, 5000));
    frame.ExecuteCommand(ID_MEASURE_START);
    auto* screen = qobject_cast<CScreenFrame*>(frame.ActiveChild());
    ASSERT_NE(screen, nullptr);
    const CRecordStore& records = screen->Controller().Recording().Records();
    ASSERT_TRUE(RunUntil([&] { return records.Count(channels.back()) >= 3; }, 10000));

    m_sensor.reset();
    const std::string notResponding = CAppTestSandbox::GeneralText("S_SCREEN_NOT_RESPONDING");
    ASSERT_TRUE(RunUntil([&] { return frame.StatusPanes()->Text(1).toStdString() == notResponding; }, 5000));
    EXPECT_FALSE(records.Current(ChannelAvg)) << "no stale reading stands for the current one";
    EXPECT_FALSE(frame.QueryCommand(ID_MEASURE_START).checked);
    EXPECT_TRUE(frame.QueryCommand(ID_DEVICE_DISCONNECT).enabled);
    const int beforeGap = records.Count(ChannelAvg);
    RunUntil([] { return false; }, 5000);

    ASSERT_TRUE(StartSensor()) << m_sensor->LastError();
    const auto resumed = [&] {
        return frame.StatusPanes()->Text(1).isEmpty() &&
               std::ranges::none_of(channels, [&](int channel) { return std::isnan(records.Last(channel)); });
    };
    ASSERT_TRUE(RunUntil(resumed, 8000));
    EXPECT_GT(records.Count(ChannelAvg), beforeGap + 1);
    EXPECT_TRUE(frame.QueryCommand(ID_MEASURE_START).checked);

    ASSERT_TRUE(screen->SaveHistoryTo(QString::fromStdString(m_sandbox.Path("gap.psh"))));
    CHistoryData history;
    ASSERT_TRUE(CHistoryFile::LoadHistory(m_sandbox.Path("gap.psh"), history).ok);
    int gapRows = 0;
    for (int row = 0; row < history.RowCount(); ++row)
        gapRows += history.StoredValue(row, ChannelAvg) == CHistoryData::kNoValue ? 1 : 0;
    EXPECT_GT(gapRows, 1) << "the rows of the gap stand for its time";
    EXPECT_NE(history.StoredValue(0, ChannelAvg), CHistoryData::kNoValue);
    EXPECT_NE(history.StoredValue(history.RowCount() - 1, ChannelAvg), CHistoryData::kNoValue);
    engine.Disconnect();
}

static std::string InterfaceName(const ::testing::TestParamInfo<bool>& param) {
    return param.param ? "Com" : "Usb";
}

INSTANTIATE_TEST_SUITE_P(ComAndUsb, ReconnectWithVirtualSensor, ::testing::Bool(), InterfaceName);

// Replies that no longer validate are named as garbled, at Connect and while measuring, and a
// CCDF curve measured before says that it is stale.
TEST(GarbledRepliesWithVirtualSensor, TheWindowNamesTheCauseAndMarksTheOldCurve) {
    CAppTestSandbox sandbox;
    CDeviceSandbox devices;
    VirtualSensorConfig config; // model 5: CCDF
    config.fault = {SensorFault::CorruptByte};
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    CMeterEngine engine;
    CMainFrame frame(std::make_unique<CEngineMeterLink>(engine));
    ASSERT_TRUE(frame.Create(QString()));
    frame.show();
    frame.ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 10000));
    ASSERT_FALSE(frame.IsConnected());
    EXPECT_EQ(sandbox.Messages().Texts().back(), CAppTestSandbox::GeneralText("S_MAINFRAME_CONNECT_GARBLED"));

    sensor.SetFault({});
    frame.ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 10000) && frame.IsConnected());
    QTimer dismiss;
    DismissDialogs(dismiss);
    frame.ExecuteCommand(ID_MODE_CCDF);
    ASSERT_TRUE(RunUntil([] { return QApplication::activeModalWidget() == nullptr; }, 5000));
    frame.ExecuteCommand(ID_MEASURE_START);
    auto* ccdf = qobject_cast<CCcdfFrame*>(frame.ActiveChild());
    ASSERT_NE(ccdf, nullptr);
    ASSERT_TRUE(RunUntil([&] { return ccdf->Acquisition().Result().measured; }, 10000));
    EXPECT_FALSE(ccdf->View()->Graph()->IsStale());

    sensor.SetFault({SensorFault::CorruptByte});
    const QString garbled = QString::fromStdString(CAppTestSandbox::GeneralText("S_SCREEN_GARBLED"));
    ASSERT_TRUE(RunUntil([&] { return frame.StatusPanes()->Text(1) == garbled; }, 10000))
        << frame.StatusPanes()->Text(1).toStdString();
    EXPECT_TRUE(ccdf->View()->Graph()->IsStale());
    sandbox.Messages().answer = IDNO; // the result is not kept at the end
    engine.Disconnect();
}

// A sensor with an unsaved measurement is replaced by one of another model on the same port;
// Disconnect keeps the measurement (No), Connect asks again and the user saves: through every
// question, the record holds the first sensor's readings only, under its name.
TEST(AnotherSensorWithVirtualSensor, TheRecordKeepsOnlyTheSensorThatMadeIt) {
    CAppTestSandbox sandbox;
    CDeviceSandbox devices;
    VirtualSensorConfig config; // model 5
    config.signal.levelDbm = 30.0;
    config.usbDeviceName = "sensor";
    auto sensor = std::make_unique<CVirtualSensor>(config);
    ASSERT_TRUE(sensor->StartUsb(UsbVariant::Newer)) << sensor->LastError();
    CMeterEngine engine;
    CMainFrame frame(std::make_unique<CEngineMeterLink>(engine));
    ASSERT_TRUE(frame.Create(QString()));
    frame.show();
    frame.ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 10000) && frame.IsConnected());
    QTimer dismiss;
    DismissDialogs(dismiss);
    frame.ExecuteCommand(ID_MODE_AVG);
    ASSERT_TRUE(RunUntil([] { return QApplication::activeModalWidget() == nullptr; }, 5000));
    frame.ExecuteCommand(ID_MEASURE_START);
    auto* screen = qobject_cast<CScreenFrame*>(frame.ActiveChild());
    ASSERT_NE(screen, nullptr);
    const CRecordStore& records = screen->Controller().Recording().Records();
    ASSERT_TRUE(RunUntil([&] { return records.Count(ChannelAvg) >= 5; }, 10000));

    sensor.reset();
    config.modelNumber = 0;
    config.signal.levelDbm = 40.0;
    sensor = std::make_unique<CVirtualSensor>(config);
    ASSERT_TRUE(sensor->StartUsb(UsbVariant::Newer)) << sensor->LastError();
    sandbox.Messages().answer = IDNO;
    frame.ExecuteCommand(ID_DEVICE_DISCONNECT);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnected() && !frame.IsDisconnecting(); }, 10000));
    const int recorded = records.Count(ChannelAvg);

    int countsSeenWhileAsked = -1;
    sandbox.Messages().answer = IDYES;
    sandbox.Messages().whileShown = [&] {
        if (countsSeenWhileAsked >= 0)
            return;
        RunUntil([] { return false; }, 1500); // the box stays open while the new sensor could answer
        countsSeenWhileAsked = records.Count(ChannelAvg);
    };
    const std::string path = sandbox.Path("first.psh");
    screen->SetSavePathChooser([&] { return QString::fromStdString(path); });
    frame.ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return !frame.IsConnecting(); }, 10000) && frame.IsConnected());
    EXPECT_EQ(countsSeenWhileAsked, recorded) << "nothing joined the record while the user was asked";

    CHistoryData history;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, history).ok);
    EXPECT_EQ(history.Header().Text(HistoryText::ModelName), CModelTable::FindByNumber(5)->name);
    EXPECT_GT(history.RowCount(), 0);
    EXPECT_LE(history.RowCount(), recorded);
    for (int row = 0; row < history.RowCount(); ++row) {
        const bool noReading = history.StoredValue(row, ChannelAvg) == CHistoryData::kNoValue;
        EXPECT_TRUE(noReading || history.Value(row, ChannelAvg) < 35.0)
            << "row " << row << " is the second sensor's";
    }
    sandbox.Messages().whileShown = nullptr;
    engine.Disconnect();
}
