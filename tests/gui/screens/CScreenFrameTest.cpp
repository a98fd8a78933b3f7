#include "gui/screens/CScreenFrame.h"
#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CStatusPanes.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"
#include "support/CAppTestSandbox.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

template <typename Condition> bool WaitFor(Condition condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 20000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace

// The AVG & PEAK screen, opened through the main window, measures a virtual sensor that falls
// silent after a few replies and later answers again.
TEST(CScreenFrameTest, ASilentSensorShowsInTheStatusBarUntilItAnswersAgain) {
    CAppTestSandbox sandbox;
    const std::string usbDirectory = sandbox.Path("usb");
    std::filesystem::create_directories(usbDirectory);
    ::setenv("PELMORA_USB_DIR", usbDirectory.c_str(), 1);
    VirtualSensorConfig config;
    config.modelNumber = 1;
    config.fault = {SensorFault::Silence, 8};
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer));

    CMeterEngine engine;
    CMainFrame mainFrame(std::make_unique<CEngineMeterLink>(engine));
    ASSERT_TRUE(mainFrame.Create(QString()));
    mainFrame.show();
    mainFrame.ConnectToPort(0);
    ASSERT_TRUE(WaitFor([&] { return !mainFrame.IsConnecting(); }));
    ASSERT_TRUE(mainFrame.IsConnected());
    QTimer dismissDialogs; // the setting dialog that opens with the screen
    QObject::connect(&dismissDialogs, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    dismissDialogs.start(50);
    mainFrame.ExecuteCommand(ID_MODE_AVG);
    auto* screen = qobject_cast<CScreenFrame*>(mainFrame.FindChild(ChildKind::Measurement));
    ASSERT_NE(screen, nullptr);
    screen->OnCommand(ID_MEASURE_START);

    // The window's link is reopened after a few failures, so the sensor counts as not responding.
    const QString lost = QString::fromStdString(CAppTestSandbox::GeneralText("S_SCREEN_NOT_RESPONDING"));
    EXPECT_TRUE(WaitFor([&] { return mainFrame.StatusPanes()->Text(1) == lost; }));
    const CRecordStore& records = screen->Controller().Recording().Records();
    const int before = records.Count(ChannelAvg);
    EXPECT_GT(before, 0);

    sensor.SetFault({});
    EXPECT_TRUE(WaitFor([&] { return mainFrame.StatusPanes()->Text(1).isEmpty(); }));
    EXPECT_GT(records.Count(ChannelAvg), before) << "measuring went on by itself";
    screen->close();
    engine.Disconnect();
    ::unsetenv("PELMORA_USB_DIR");
}
