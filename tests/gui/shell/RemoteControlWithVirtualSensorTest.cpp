// The window's remote control serving the sensor while a screen measures: every reading the
// sensor sends reaches exactly one asker, so the screen's record neither loses a reading nor
// takes one of the client's.
#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CMeasurementFrame.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CRemoteControl.h"
#include "platform/CTcpSocket.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr int kQueries = 20;

std::string ReadLine(const CTcpSocket& socket) {
    std::string line;
    char c = 0;
    while (socket.WaitReadable(10000) == CTcpSocket::Wait::Ready && socket.Receive(&c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

// The average powers the sensor sent, in hundredths of a dBm.
std::vector<int> SentAverages(const std::string& trace) {
    std::ifstream file(trace);
    std::vector<int> values;
    std::string mnemonic;
    int value = 0;
    while (file >> mnemonic >> value) {
        if (mnemonic == "GA")
            values.push_back(value);
    }
    return values;
}

int Hundredths(double dbm) {
    return static_cast<int>(std::lround(dbm * 100.0));
}

} // namespace

TEST(RemoteControlWithVirtualSensor, ServesWhileAScreenMeasuresWithoutTouchingItsRecord) {
    CAppTestSandbox sandbox;
    std::filesystem::create_directories(sandbox.Path("usb"));
    ::setenv("PELMORA_USB_DIR", sandbox.Path("usb").c_str(), 1);
    VirtualSensorConfig config;
    config.modelNumber = 0;
    config.traceFile = sandbox.Path("trace.txt");
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    CMeterEngine engine;
    auto frame = std::make_unique<CMainFrame>(std::make_unique<CEngineMeterLink>(engine));
    frame->Create(QString());
    frame->show();
    QTimer dismissDialogs; // the screen opens with its setting dialog
    QObject::connect(&dismissDialogs, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    dismissDialogs.start(50);
    frame->ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return !frame->IsConnecting(); }));
    ASSERT_TRUE(frame->IsConnected());

    auto* remote = frame->findChild<CRemoteControl*>();
    ASSERT_NE(remote, nullptr);
    EXPECT_FALSE(remote->IsServing());
    remote->SetListenAddress("127.0.0.1", 0);
    frame->ExecuteCommand(ID_REMOTE_CONTROL);
    ASSERT_TRUE(remote->IsServing());
    const QString where = QStringLiteral("127.0.0.1:%1").arg(remote->Port());
    EXPECT_TRUE(remote->StatusText().endsWith(where)) << remote->StatusText().toStdString();

    frame->ExecuteCommand(ID_MODE_AVGPEAK);
    auto* screen = qobject_cast<CScreenFrame*>(frame->ActiveChild());
    ASSERT_NE(screen, nullptr);
    const CRecordStore& records = screen->Controller().Recording().Records();
    screen->OnCommand(ID_MEASURE_START);
    ASSERT_TRUE(RunUntil([&] { return records.Count(ChannelAvg) >= 3; }));

    std::vector<std::string> answers;
    std::atomic<bool> done{false};
    std::atomic<bool> looked{false};
    std::thread client([&] {
        const CTcpSocket socket = CTcpSocket::Connect("127.0.0.1", remote->Port());
        for (int i = 0; i < kQueries && socket.SendAll("MEAS:POW:AVER?\n"); ++i)
            answers.push_back(ReadLine(socket));
        done = true;
        // Still connected while the status bar is looked at.
        for (int wait = 0; wait < 2000 && !looked.load(); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    EXPECT_TRUE(RunUntil([&] { return done.load(); }, 60000));
    EXPECT_TRUE(RunUntil([&] { return remote->StatusText().contains(QStringLiteral(", ")); }));
    looked = true;
    client.join();
    const int before = records.Count(ChannelAvg);
    ASSERT_TRUE(RunUntil([&] { return records.Count(ChannelAvg) >= before + 3; }));
    screen->OnCommand(ID_MEASURE_STOP);
    RunUntil([] { return false; }, 300); // a reading in flight ends

    // Every reading sent went to one asker: the screen recorded what it asked for, no more.
    std::vector<int> taken;
    for (const std::string& answer : answers)
        taken.push_back(Hundredths(std::stod(answer.empty() ? "nan" : answer)));
    for (float value : records.Series(ChannelAvg))
        taken.push_back(Hundredths(value));
    std::vector<int> sent = SentAverages(config.traceFile);
    ASSERT_EQ(answers.size(), static_cast<size_t>(kQueries));
    std::ranges::sort(taken);
    std::ranges::sort(sent);
    EXPECT_TRUE(std::ranges::includes(sent, taken));
    EXPECT_LE(sent.size(), taken.size() + 1) << "only a reading in flight at Stop may go unrecorded";

    frame->ExecuteCommand(ID_REMOTE_CONTROL);
    EXPECT_FALSE(remote->IsServing());
    EXPECT_TRUE(remote->StatusText().isEmpty());
    frame.reset();
    engine.Disconnect();
    ::unsetenv("PELMORA_USB_DIR");
}
