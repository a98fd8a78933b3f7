#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include "gui/kit/CChildFrame.h"
#include "gui/settings/CSettingDlg_Logging.h"
#include "gui/shell/CDownloadCommand.h"
#include "gui/shell/CDownloadDlg.h"
#include "gui/shell/CMainFrame.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "sim/CVirtualSensor.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The page sets the sensor's logging up, the download command fetches the 900 samples of the
// default set-up into a file and a viewer, and the logged data is erased: every exchange on the
// engine's worker, every answer back on the user-interface thread.
TEST(LoggingWithVirtualSensor, SetUpDownloadAndClearFromTheWindows) {
    CAppTestSandbox sandbox;
    ::setenv("PELMORA_USB_DIR", sandbox.Path("usb").c_str(), 1);
    VirtualSensorConfig config;
    config.loggingSpeedUp = 0;
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    CMainFrame frame;
    ASSERT_TRUE(frame.Create(QString()));
    frame.ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return frame.IsConnected(); }));
    const auto lastMessage = [&sandbox] { return sandbox.Messages().shown.back().text; };

    CSettingDlg_Logging page(frame.Profile());
    page.SetLogging();
    ASSERT_TRUE(RunUntil([&] { return !page.IsExchangeRunning(); }));
    EXPECT_EQ(lastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_LOGGING_SUCCESS"));
    page.ClearLogging(); // switches logging off; the logged data stays for the download
    ASSERT_TRUE(RunUntil([&] { return !page.IsExchangeRunning(); }));
    EXPECT_EQ(lastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_STOP_SUCCESS"));

    CDownloadCommand::Run(frame);
    ASSERT_TRUE(RunUntil([&] { return frame.findChild<CDownloadDlg*>() != nullptr; }));
    CDownloadDlg* dialog = frame.findChild<CDownloadDlg*>();
    const std::string path = sandbox.Path("logged.psh");
    dialog->SetSavePathChooser([&path] { return QString::fromStdString(path); });
    dialog->SaveToDisk();
    ASSERT_TRUE(RunUntil([&] { return !dialog->IsExchangeRunning(); }));
    CHistoryData saved;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, saved).ok);
    EXPECT_EQ(saved.Header().Mask(), 0x0F);
    EXPECT_EQ(saved.RowCount(), 225);

    dialog->LoadToScreen();
    ASSERT_TRUE(RunUntil([&] { return !dialog->IsExchangeRunning(); }));
    ASSERT_NE(frame.ActiveChild(), nullptr);
    EXPECT_EQ(frame.ActiveChild()->Kind(), ChildKind::History);

    dialog->ClearLoggedData();
    ASSERT_TRUE(RunUntil([&] { return !dialog->IsExchangeRunning(); }));
    EXPECT_EQ(lastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_CLEAR_SUCCESS"));
    dialog->accept();
}
