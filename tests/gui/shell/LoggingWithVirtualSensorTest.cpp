#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CommandIds.h"
#include "gui/history/CHistoryFrame.h"
#include "gui/history/CHistoryView.h"
#include "gui/kit/CChildFrame.h"
#include "gui/settings/CSettingDlg_Logging.h"
#include "gui/shell/CDownloadCommand.h"
#include "gui/shell/CDownloadDlg.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "protocol/CMeterEngine.h"
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
    CMeterEngine engine;
    CMainFrame frame(std::make_unique<CEngineMeterLink>(engine));
    ASSERT_TRUE(frame.Create(QString()));
    frame.ConnectToPort(0);
    ASSERT_TRUE(RunUntil([&] { return frame.IsConnected(); }));
    const auto lastMessage = [&sandbox] { return sandbox.Messages().shown.back().text; };

    CSettingDlg_Logging page(frame.Profile(), frame.LoggingLink());
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
    // The set-up's start and interval are the logged data's time base, not the download's moment.
    const LoggingRun& run = frame.Profile().GetLoggingRun();
    ASSERT_TRUE(run.IsKnown());
    EXPECT_EQ(saved.Header().Text(HistoryText::Interval), "40000 ms");
    EXPECT_EQ(saved.Header().Text(HistoryText::StartTime), CHistoryRecorder::TimeText(run.started));
    EXPECT_EQ(saved.Header().Text(HistoryText::StopTime), CHistoryRecorder::TimeText(run.started + 224 * 40));

    dialog->LoadToScreen();
    ASSERT_TRUE(RunUntil([&] { return !dialog->IsExchangeRunning(); }));
    auto* viewer = qobject_cast<CHistoryFrame*>(frame.ActiveChild());
    ASSERT_NE(viewer, nullptr);
    // The viewer's temporary file goes with the window: Save asks for a file of the user's.
    const std::string kept = sandbox.Path("kept.psh");
    viewer->View()->SetPathChooser(
        [&kept](const QString&, const QString&) { return QString::fromStdString(kept); });
    viewer->OnCommand(ID_FILE_SAVE); // enabled at once: the download is not saved yet
    delete viewer;
    ASSERT_TRUE(CHistoryFile::LoadHistory(kept, saved).ok);
    EXPECT_EQ(saved.RowCount(), 225);

    dialog->ClearLoggedData();
    ASSERT_TRUE(RunUntil([&] { return !dialog->IsExchangeRunning(); }));
    EXPECT_EQ(lastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_CLEAR_SUCCESS"));
    dialog->accept();
}
