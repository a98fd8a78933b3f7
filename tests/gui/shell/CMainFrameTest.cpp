#include "support/CAppTestSandbox.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CScreenController.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/history/CHistoryView.h"
#include "gui/kit/CCommandActions.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CAboutDlg.h"
#include "gui/shell/CDownloadCommand.h"
#include "gui/shell/CDownloadDlg.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CPelmoraApp.h"
#include "gui/shell/CStatusPanes.h"
#include "history/CHistoryFile.h"
#include "history/CRecordJournal.h"
#include "model/CModelTable.h"
#include "protocol/CReadingReceiver.h"
#include "protocol/CReadingSinks.h"
#include "support/CFakeLoggingLink.h"
#include "support/CIdleMeasurementLink.h"
#include "support/CTempDirectory.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct LinkState {
    int32_t connectResult = 0;
    int32_t code = 0;
    bool connected = false;
    std::vector<int32_t> ports;
    CReadingSinks sinks;
    // Set: Connect keeps its completion here instead of reporting at once, like the engine
    // while it identifies the sensor.
    bool deferConnect = false;
    CMeterLink::ConnectDone deferredDone;
    // Set: Disconnect keeps its completion, like the engine while its worker ends.
    bool deferDisconnect = false;
    CMeterLink::DisconnectDone deferredRelease;
};

class CFakeLink : public CMeterLink {
public:
    explicit CFakeLink(LinkState& state) : m_state(state) {}
    void Connect(int32_t port, ConnectDone done) override {
        m_state.ports.push_back(port);
        m_state.connected = m_state.connectResult == 0;
        if (m_state.deferConnect)
            m_state.deferredDone = std::move(done);
        else
            done(m_state.connectResult);
    }
    void Disconnect(DisconnectDone done) override {
        m_state.connected = false;
        if (m_state.deferDisconnect)
            m_state.deferredRelease = std::move(done);
        else
            done();
    }
    bool IsConnected() const override { return m_state.connected; }
    int32_t IdentificationCode() const override { return m_state.code; }
    int32_t SerialNumber() const override { return 4711; }
    int32_t FirmwareVersion() const override { return 295; }
    CReadingSinks& Sinks() override { return m_state.sinks; }
    std::unique_ptr<CMeasurementLink> MeasurementLink(const CSettingProfile&) override {
        return std::make_unique<CIdleMeasurementLink>();
    }
    std::unique_ptr<CLoggingLink> LoggingLink(bool) override { return std::make_unique<CFakeLoggingLink>(); }

private:
    LinkState& m_state;
};

// A screen that records when it is configured (0) and stopped, and counts the measurements it
// was told to forget.
class CRecordingScreen : public CChildFrame {
public:
    CRecordingScreen(ChildKind kind, std::vector<int>& log, int& forgotten)
        : CChildFrame(kind), m_log(log), m_forgotten(forgotten) {}
    CReadingReceiver* Receiver() override { return &m_receiver; }
    void Configure() override { m_log.push_back(0); }
    void ForgetMeasurement() override { ++m_forgotten; }
    bool OfferToSave() override { return !keepMeasurement; }
    bool OnCommand(int id) override {
        if (id != ID_MEASURE_STOP)
            return false;
        m_log.push_back(id);
        return true;
    }

    bool keepMeasurement = false; // answers the save question with Cancel

private:
    std::vector<int>& m_log;
    int& m_forgotten;
    CReadingReceiver m_receiver;
};

class CMainFrameTest : public testing::Test {
protected:
    CMainFrameTest() {
        m_frame = std::make_unique<CMainFrame>(std::make_unique<CFakeLink>(m_link));
        for (ChildKind kind : {ChildKind::Measurement, ChildKind::Pulse, ChildKind::Ccdf})
            m_frame->ChildFactory().SetCreator(
                kind, [this, kind] { return new CRecordingScreen(kind, m_screenLog, m_forgotten); });
    }

    void ConnectModel(int model, int port = 5) {
        m_link.code = CModelTable::FindByNumber(model)->code;
        m_frame->ConnectToPort(port);
        ASSERT_TRUE(m_frame->IsConnected());
    }
    bool Enabled(int id) { return m_frame->QueryCommand(id).enabled; }
    int VisibleChildren() const {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int count = 0;
        for (const QMdiSubWindow* window : m_frame->MdiArea()->subWindowList())
            count += window->isHidden() ? 0 : 1;
        return count;
    }
    std::string WriteHistory(const std::string& name, int model) {
        HistoryHeader header;
        header.SetMask(0x01);
        header.SetText(HistoryText::ModelName, CModelTable::FindByNumber(model)->name);
        const std::vector<int32_t> rows = {-1000, -1100, -1200};
        const std::string path = m_sandbox.Path(name);
        EXPECT_TRUE(CHistoryFile::SaveHistoryRaw(path, header, rows.data(), 3));
        return path;
    }

    CAppTestSandbox m_sandbox;
    LinkState m_link;
    std::vector<int> m_screenLog;
    int m_forgotten = 0;
    std::unique_ptr<CMainFrame> m_frame;
};

std::vector<int> ToolbarCommands(const QToolBar& toolbar) {
    std::vector<int> commands;
    for (const QAction* action : toolbar.actions())
        commands.push_back(action->isSeparator() ? 0 : action->data().toInt());
    return commands;
}

} // namespace

TEST_F(CMainFrameTest, CreationBuildsBarsAndTitle) {
    ASSERT_TRUE(m_frame->Create(QString()));
    EXPECT_EQ(m_frame->windowTitle().toStdString(),
              "Halvex Power Meter " + CAppTestSandbox::GeneralText("S_VERSION"));

    for (auto index : {CMainFrame::MainToolbar, CMainFrame::HistoryToolbar, CMainFrame::MeasurementToolbar}) {
        EXPECT_EQ(ToolbarCommands(*m_frame->Toolbar(index)), CMainFrame::ToolbarLayout(index));
        EXPECT_EQ(m_frame->Toolbar(index)->isHidden(), index != CMainFrame::MainToolbar);
        EXPECT_EQ(m_frame->Toolbar(index)->iconSize(), QSize(32, 32));
    }
    EXPECT_EQ(CMainFrame::ToolbarLayout(CMainFrame::MainToolbar),
              (std::vector<int>{ID_DEVICE_CONNECT, ID_DEVICE_DISCONNECT, ID_FILE_OPEN, 0, ID_HELP}));
    EXPECT_FALSE(m_frame->Commands().Action(ID_DEVICE_CONNECT)->icon().isNull());
}

TEST_F(CMainFrameTest, BeforeConnectingOnlyConnectAndFileCommandsAreEnabled) {
    ASSERT_TRUE(m_frame->Create(QString()));
    EXPECT_TRUE(Enabled(ID_DEVICE_CONNECT));
    EXPECT_TRUE(Enabled(ID_FILE_OPEN));
    for (int id : {ID_DEVICE_DISCONNECT, ID_DEVICE_SETTING, ID_LOGGING, ID_MODE_AVGPEAK, ID_MODE_AVG,
                   ID_MODE_PEAK, ID_MODE_PULSE, ID_MODE_CCDF, ID_MEASURE_START, ID_HELP})
        EXPECT_FALSE(Enabled(id)) << id;
    // The shared actions, and with them the toolbar buttons, carry the same state.
    EXPECT_FALSE(m_frame->Commands().Action(ID_DEVICE_DISCONNECT)->isEnabled());
    EXPECT_TRUE(m_frame->Commands().Action(ID_DEVICE_CONNECT)->isEnabled());
}

TEST_F(CMainFrameTest, ConnectHandsTheIdentityToTheProfileAndNamesThePort) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(1, 5);
    EXPECT_EQ(m_frame->Profile().GetModelNumber(), 1);
    EXPECT_EQ(m_frame->Profile().GetFirmwareText(), "2.95");
    EXPECT_EQ(m_frame->PortLabel(), QStringLiteral("COM5"));
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 1u);
    EXPECT_EQ(m_sandbox.Messages().shown[0].text, CAppTestSandbox::GeneralText("S_IDD_CONNECTED"));
    EXPECT_EQ(m_sandbox.Messages().shown[0].style, MB_ICONINFORMATION);
    EXPECT_EQ(m_sandbox.Messages().shown[0].caption, "Trel Power Meter");

    EXPECT_FALSE(m_frame->Commands().Action(ID_DEVICE_CONNECT)->isEnabled());
    EXPECT_TRUE(Enabled(ID_MODE_AVG));
    for (int id : {ID_MODE_AVGPEAK, ID_MODE_PEAK, ID_MODE_PULSE, ID_MODE_CCDF, ID_LOGGING})
        EXPECT_FALSE(Enabled(id)) << id;

    m_link.connected = false;
    ConnectModel(5, -1);
    EXPECT_EQ(m_frame->PortLabel(), QStringLiteral("USB"));
    EXPECT_EQ(m_link.ports.back(), -1);
}

TEST_F(CMainFrameTest, WindowWorksOnWhileTheSensorIsIdentified) {
    ASSERT_TRUE(m_frame->Create(QString()));
    m_link.code = CModelTable::FindByNumber(1)->code;
    m_link.deferConnect = true;
    m_frame->ConnectToPort(4);
    EXPECT_TRUE(m_frame->IsConnecting());
    EXPECT_FALSE(Enabled(ID_DEVICE_CONNECT));
    m_frame->ConnectToPort(4);
    EXPECT_EQ(m_link.ports.size(), 1u) << "no second connect while the first runs";
    EXPECT_TRUE(m_sandbox.Messages().shown.empty());

    m_link.deferredDone(0);
    EXPECT_FALSE(m_frame->IsConnecting());
    EXPECT_EQ(m_frame->Profile().GetModelNumber(), 1);
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 1u);
    EXPECT_EQ(m_sandbox.Messages().shown[0].text, CAppTestSandbox::GeneralText("S_IDD_CONNECTED"));
}

TEST_F(CMainFrameTest, WindowWorksOnWhileTheSensorIsReleased) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(1, 5);
    m_link.deferDisconnect = true;
    m_frame->ExecuteCommand(ID_DEVICE_DISCONNECT);
    EXPECT_TRUE(m_frame->IsDisconnecting());
    EXPECT_FALSE(Enabled(ID_DEVICE_CONNECT)) << "the port is not free yet";
    EXPECT_FALSE(Enabled(ID_DEVICE_DISCONNECT));
    EXPECT_FALSE(Enabled(ID_MODE_AVG));
    EXPECT_EQ(m_sandbox.Messages().shown.size(), 1u) << "only the connect was told so far";

    m_link.deferredRelease();
    EXPECT_FALSE(m_frame->IsDisconnecting());
    EXPECT_TRUE(Enabled(ID_DEVICE_CONNECT));
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 2u);
    EXPECT_EQ(m_sandbox.Messages().shown[1].text, CAppTestSandbox::GeneralText("S_IDD_DISCONNECTED"));
}

TEST_F(CMainFrameTest, FailedOrUnknownConnectionChangesNothing) {
    ASSERT_TRUE(m_frame->Create(QString()));
    m_link.connectResult = -2;
    m_frame->ConnectToPort(3);
    EXPECT_FALSE(m_frame->IsConnected());
    // The engine refuses a code it does not accept, and keeps the code it read.
    m_link.connectResult = -3;
    m_link.code = 99;
    m_frame->ConnectToPort(3);
    m_link.connectResult = 0;
    m_link.code = -12345;
    m_frame->ConnectToPort(3);
    EXPECT_FALSE(m_frame->IsConnecting());
    EXPECT_FALSE(m_link.connected) << "a sensor the model table does not know is let go";

    EXPECT_EQ(m_frame->Profile().GetModelNumber(), CSettingProfile::kDefaultModel);
    EXPECT_TRUE(m_frame->PortLabel().isEmpty());
    const auto& shown = m_sandbox.Messages().shown;
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, CAppTestSandbox::GeneralText("S_MAINFRAME_ONDEVICECONNECT"));
    EXPECT_NE(shown[1].text.find(" 99,"), std::string::npos) << shown[1].text;
    EXPECT_NE(shown[2].text.find("-12345"), std::string::npos) << shown[2].text;
    for (const auto& message : shown) {
        EXPECT_EQ(message.text.find('%'), std::string::npos);
        EXPECT_EQ(message.style, MB_ICONSTOP);
        EXPECT_EQ(message.owner, nullptr);
    }
}

TEST_F(CMainFrameTest, ModeCommandCreatesTheScreenOnceAndTitlesIt) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(1);
    m_frame->ExecuteCommand(ID_MODE_AVG);
    CChildFrame* screen = m_frame->FindChild(ChildKind::Measurement);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle().toStdString(),
              std::string("COM5, ") + CModelTable::FindByNumber(1)->name);
    EXPECT_EQ(m_link.sinks.Get(CReadingSinks::Kind::Measurement), screen->Receiver());
    EXPECT_EQ(m_screenLog, std::vector<int>{0}) << "configured once for the model";
    EXPECT_EQ(m_frame->ActiveChild(), screen);

    // Another sensor reconfigures the open screen at once; the mode command shows it again.
    m_link.connected = false;
    ConnectModel(6, -1);
    EXPECT_EQ(m_screenLog, (std::vector<int>{0, ID_MEASURE_STOP, 0}))
        << "stopped before any question about its record, configured again for the new sensor";
    EXPECT_EQ(screen->windowTitle().toStdString(), std::string("USB, ") + CModelTable::FindByNumber(6)->name);
    m_frame->ExecuteCommand(ID_MODE_AVG);
    EXPECT_EQ(m_frame->FindChild(ChildKind::Measurement), screen);
    EXPECT_EQ(VisibleChildren(), 1);
}

TEST_F(CMainFrameTest, NewScreenStopsAndClosesTheActiveChild) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(5);
    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    CChildFrame* measurement = m_frame->FindChild(ChildKind::Measurement);
    ASSERT_NE(measurement, nullptr);
    CReadingReceiver* measurementReceiver = measurement->Receiver();
    m_screenLog.clear();

    m_frame->ExecuteCommand(ID_MODE_PULSE);
    EXPECT_EQ(m_frame->FindChild(ChildKind::Measurement), nullptr);
    ASSERT_NE(m_frame->FindChild(ChildKind::Pulse), nullptr);
    EXPECT_EQ(VisibleChildren(), 1);
    ASSERT_FALSE(m_screenLog.empty());
    EXPECT_EQ(m_screenLog.front(), ID_MEASURE_STOP) << "the old screen is stopped before it closes";
    EXPECT_NE(m_link.sinks.Get(CReadingSinks::Kind::Measurement), measurementReceiver);
    EXPECT_EQ(m_link.sinks.Get(CReadingSinks::Kind::Measurement), nullptr);
    EXPECT_NE(m_link.sinks.Get(CReadingSinks::Kind::Pulse), nullptr);
    EXPECT_EQ(m_frame->CurrentMode(), 3);
}

TEST_F(CMainFrameTest, AnotherSensorCanBeRefusedToKeepTheMeasurementOrElseClosesScreensItLacks) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(0);
    m_frame->ExecuteCommand(ID_MODE_PULSE);
    auto* screen = static_cast<CRecordingScreen*>(m_frame->FindChild(ChildKind::Pulse));
    ASSERT_NE(screen, nullptr);
    m_link.connected = false;
    screen->keepMeasurement = true;
    m_link.code = CModelTable::FindByNumber(1)->code;
    m_frame->ConnectToPort(5);
    EXPECT_FALSE(m_frame->IsConnected()) << "the new sensor is let go";
    EXPECT_EQ(m_frame->Profile().GetModelNumber(), 0);
    EXPECT_EQ(m_forgotten, 0);

    screen->keepMeasurement = false;
    ConnectModel(1);
    EXPECT_EQ(m_forgotten, 1) << "another sensor's readings never join the measurement";
    EXPECT_EQ(VisibleChildren(), 0) << "this model has no PULSE screen";
}

TEST_F(CMainFrameTest, ModeCommandWithoutSensorClosesTheNewScreenAgain) {
    ASSERT_TRUE(m_frame->Create(QString()));
    m_frame->ExecuteCommand(ID_MODE_CCDF);
    EXPECT_EQ(VisibleChildren(), 0);
    EXPECT_EQ(m_link.sinks.Get(CReadingSinks::Kind::Ccdf), nullptr);
    EXPECT_FALSE(m_link.sinks.IsAnySet());
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 1u);
    EXPECT_EQ(m_sandbox.Messages().shown[0].text,
              CAppTestSandbox::GeneralText("S_MAINFRAME_ONDEVICECONNECT"));
    EXPECT_EQ(m_sandbox.Messages().shown[0].owner, nullptr);
}

TEST_F(CMainFrameTest, ToolbarAndMenuFollowTheActiveChildUnlessTheUserHidThem) {
    ASSERT_TRUE(m_frame->Create(QString()));
    const QMenu* mainFile = m_frame->MainFrameMenu()->actions().first()->menu<QMenu*>();
    EXPECT_EQ(m_frame->menuBar()->actions().first()->menu<QMenu*>(), mainFile);

    ConnectModel(5);
    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    EXPECT_FALSE(m_frame->Toolbar(CMainFrame::MeasurementToolbar)->isHidden());
    EXPECT_TRUE(m_frame->Toolbar(CMainFrame::MainToolbar)->isHidden());
    EXPECT_EQ(m_frame->menuBar()->actions().size(), m_frame->MeasurementFrameMenu()->actions().size());
    EXPECT_TRUE(m_frame->QueryCommand(ID_VIEW_TOOLBAR).checked);

    m_frame->ExecuteCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_frame->QueryCommand(ID_VIEW_TOOLBAR).checked);
    ASSERT_TRUE(m_frame->OpenHistoryFile(QString::fromStdString(WriteHistory("a.psh", 5))));
    for (auto index : {CMainFrame::MainToolbar, CMainFrame::HistoryToolbar, CMainFrame::MeasurementToolbar})
        EXPECT_TRUE(m_frame->Toolbar(index)->isHidden()) << index;

    m_frame->ExecuteCommand(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(m_frame->Toolbar(CMainFrame::HistoryToolbar)->isHidden());
    EXPECT_TRUE(m_frame->Toolbar(CMainFrame::MeasurementToolbar)->isHidden());
    EXPECT_EQ(m_frame->menuBar()->actions().size(), m_frame->HistoryFrameMenu()->actions().size());
}

TEST_F(CMainFrameTest, HistoryFilesOpenTitledWithPathAndModel) {
    ASSERT_TRUE(m_frame->Create(QString()));
    const std::string path = WriteHistory("run.psh", 9);
    ASSERT_TRUE(m_frame->OpenHistoryFile(QString::fromStdString(path)));
    const CChildFrame* history = m_frame->ActiveChild();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->Kind(), ChildKind::History);
    EXPECT_EQ(history->windowTitle().toStdString(), path + ", " + CModelTable::FindByNumber(9)->name);

    EXPECT_FALSE(m_frame->OpenHistoryFile(QString::fromStdString(m_sandbox.Path("missing.psh"))));
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 1u);
    // The reason is told, not only that the file could not be opened.
    EXPECT_EQ(m_sandbox.Messages().shown[0].text,
              CHistoryView::OpenFailureText("cannot open the file: No such file or directory"));
    EXPECT_EQ(m_sandbox.Messages().shown[0].style, MB_ICONSTOP);
    EXPECT_EQ(VisibleChildren(), 1);
}

TEST_F(CMainFrameTest, WindowOpenedBesideAMaximizedOneFillsTheArea) {
    ASSERT_TRUE(m_frame->Create(QString()));
    m_frame->show();
    ASSERT_TRUE(m_frame->OpenHistoryFile(QString::fromStdString(WriteHistory("a.psh", 5))));
    m_frame->ActiveChild()->showMaximized();
    ASSERT_TRUE(m_frame->OpenHistoryFile(QString::fromStdString(WriteHistory("b.psh", 5))));
    const CChildFrame* second = m_frame->ActiveChild();
    ASSERT_TRUE(second->isMaximized());
    EXPECT_EQ(second->size(), m_frame->MdiArea()->viewport()->size());
}

TEST_F(CMainFrameTest, ScreenAloneOpensMaximisedAndCascadeKeepsWindowsReadable) {
    ASSERT_TRUE(m_frame->Create(QString()));
    m_frame->show();
    ConnectModel(5);
    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    EXPECT_TRUE(m_frame->FindChild(ChildKind::Measurement)->isMaximized());
    ASSERT_TRUE(m_frame->OpenHistoryFile(QString::fromStdString(WriteHistory("a.psh", 5))));
    ASSERT_TRUE(m_frame->OpenHistoryFile(QString::fromStdString(WriteHistory("b.psh", 5))));

    m_frame->ExecuteCommand(ID_WINDOW_CASCADE);
    const QSize area = m_frame->MdiArea()->viewport()->size();
    for (const QMdiSubWindow* window : m_frame->MdiArea()->subWindowList()) {
        EXPECT_FALSE(window->isMaximized());
        EXPECT_EQ(window->size(), area * 3 / 4) << window->windowTitle().toStdString();
    }
}

TEST_F(CMainFrameTest, CommandLineNamesTheHistoryFileToOpen) {
    EXPECT_EQ(CMainFrame::HistoryPathOf(QStringLiteral("\"\"")), QString());
    EXPECT_EQ(CMainFrame::HistoryPathOf(QStringLiteral("\"\"\"")), QString());
    EXPECT_EQ(CMainFrame::HistoryPathOf(QStringLiteral("\"/data/my run.psh\"")),
              QStringLiteral("/data/my run.psh"));
    EXPECT_EQ(CMainFrame::CommandLineOf(
                  {QStringLiteral("pelmora"), QStringLiteral("/data/my"), QStringLiteral("run.psh")}),
              QStringLiteral("/data/my run.psh"));
    EXPECT_EQ(CMainFrame::CommandLineOf({QStringLiteral("pelmora")}), QString());

    const std::string path = WriteHistory("start up.psh", 5);
    ASSERT_TRUE(m_frame->Create(QStringLiteral("\"%1\"").arg(QString::fromStdString(path))));
    m_frame->show();
    QApplication::processEvents();
    ASSERT_NE(m_frame->ActiveChild(), nullptr);
    EXPECT_EQ(m_frame->ActiveChild()->Kind(), ChildKind::History);
    // Placed in the shown window, not in the size it had before it was shown.
    EXPECT_EQ(m_frame->ActiveChild()->size(), m_frame->MdiArea()->viewport()->size() * 3 / 4);
}

TEST_F(CMainFrameTest, StatusPanesTakeTwoThirdsAndOneThird) {
    EXPECT_EQ(CStatusPanes::PaneWidths(100), std::make_pair(66, 33));
    EXPECT_EQ(CStatusPanes::PaneWidths(2), std::make_pair(0, 0));
    EXPECT_EQ(CStatusPanes::PaneWidths(-5), std::make_pair(0, 0));

    ASSERT_TRUE(m_frame->Create(QString()));
    m_frame->show();
    m_frame->resize(901, 500);
    QApplication::processEvents();
    EXPECT_EQ(m_frame->StatusPanes()->PaneWidth(0), (m_frame->width() / 3) * 2);
    EXPECT_EQ(m_frame->StatusPanes()->PaneWidth(1), m_frame->width() / 3);

    m_frame->SetStatusText(QStringLiteral("warning"), 1);
    EXPECT_EQ(m_frame->StatusPanes()->Text(1), QStringLiteral("warning"));
    m_frame->SetStatusText(QStringLiteral("ignored"), 2);

    // A long warning widens its pane, up to three quarters of the width, and is never cut off
    // silently: what does not fit is elided and the whole text is the pane's tool tip.
    EXPECT_EQ(CStatusPanes::PaneWidths(1024, 500), std::make_pair(523, 500));
    EXPECT_EQ(CStatusPanes::PaneWidths(1024, 2000), std::make_pair(255, 768));
    const QString warning = QString::fromStdString(CAppTestSandbox::GeneralText("S_SETTING_WARNING_POWER"));
    m_frame->SetStatusText(warning, 1);
    EXPECT_GT(m_frame->StatusPanes()->PaneWidth(1), m_frame->width() / 3);
    const auto* pane = m_frame->StatusPanes()->findChildren<QLabel*>().at(1);
    EXPECT_EQ(pane->text(), warning);
    m_frame->SetStatusText(warning + warning + warning, 1);
    EXPECT_TRUE(pane->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(pane->toolTip(), warning + warning + warning);
}

TEST_F(CMainFrameTest, ClosingOrDestroyingLeavesNoReceiverWithTheEngine) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(5);
    m_frame->ExecuteCommand(ID_MODE_CCDF);
    ASSERT_NE(m_link.sinks.Get(CReadingSinks::Kind::Ccdf), nullptr);
    m_frame->ExecuteCommand(ID_FILE_CLOSE);
    EXPECT_EQ(m_link.sinks.Get(CReadingSinks::Kind::Ccdf), nullptr);
    EXPECT_EQ(VisibleChildren(), 0);

    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    ASSERT_NE(m_link.sinks.Get(CReadingSinks::Kind::Measurement), nullptr);
    m_frame.reset();
    EXPECT_EQ(m_link.sinks.Get(CReadingSinks::Kind::Measurement), nullptr);
}

TEST_F(CMainFrameTest, ClosingTellsWhenTheSettingsCannotBeSaved) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(2);
    // A folder in the place of the profile file makes every write fail.
    ASSERT_TRUE(
        QDir().mkpath(QString::fromStdString(CSettingProfile::ProfilePath(m_frame->Profile().ModelName()))));
    m_frame->close();
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 2u);
    EXPECT_EQ(m_sandbox.Messages().shown[1].text,
              CAppTestSandbox::GeneralText("S_MAINFRAME_PROFILE_NOT_SAVED"));
    EXPECT_EQ(m_sandbox.Messages().shown[1].style, MB_ICONEXCLAMATION);
}

TEST(CPelmoraApp, HelpMessageFillsOnlyThePathIntoTheText) {
    EXPECT_EQ(CPelmoraApp::FormatHelpMissing("Missing: %s", "/opt/a b/TrelPMEnHlp.pdf"),
              "Missing: /opt/a b/TrelPMEnHlp.pdf");
    EXPECT_EQ(CPelmoraApp::FormatHelpMissing("%d %n %s %s", "x"), "%d %n x %s");
    EXPECT_EQ(CPelmoraApp::FormatHelpMissing("", "x"), "");

    CAppTestSandbox sandbox;
    EXPECT_EQ(CPelmoraApp::HelpDocumentPath(), sandbox.Path("TrelPMEnHlp.pdf"));

    // A manual that nothing can show is named with its path, and its folder is offered.
    CTempDirectory::WriteBytes(sandbox.Path("TrelPMEnHlp.pdf"), {'%'});
    std::vector<QString> opened;
    CPelmoraApp::ShowHelp(nullptr, [&opened](const QUrl& url) {
        opened.push_back(url.toLocalFile());
        return false;
    });
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], QFileInfo(QString::fromStdString(sandbox.Path("TrelPMEnHlp.pdf"))).absolutePath());
    ASSERT_EQ(sandbox.Messages().shown.size(), 1u);
    EXPECT_NE(sandbox.Messages().shown[0].text.find(sandbox.Path("TrelPMEnHlp.pdf")), std::string::npos);
}

TEST(CAboutDlg, ShowsNameWithVersionAndCopyrightFromTheLanguageFile) {
    CAppTestSandbox sandbox;
    const CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle().toStdString(), CStringTable::GetText("IDD_ABOUTBOX", "CAPTION"));
    EXPECT_EQ(dialog.NameText().toStdString(), CStringTable::GetText("IDD_ABOUTBOX", "IDC_STATIC_NAME") +
                                                   " " + CAppTestSandbox::GeneralText("S_VERSION"));
    EXPECT_EQ(dialog.CopyText().toStdString(), CStringTable::GetText("IDD_ABOUTBOX", "IDC_STATIC_COPY"));
}

TEST_F(CMainFrameTest, DownloadCommandStopsTheScreensBeforeAskingTheSensor) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(5);
    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    m_screenLog.clear();
    auto link = std::make_unique<CFakeLoggingLink>();
    CFakeLoggingLink& fake = *link;
    fake.answer = false;
    CDownloadCommand::Run(*m_frame, std::move(link));
    EXPECT_EQ(m_screenLog, std::vector<int>{ID_MEASURE_STOP});
    EXPECT_EQ(fake.calls, std::vector<std::string>{"status"});
    fake.Finish(); // no status, no dialog and no message
    EXPECT_EQ(m_frame->findChild<CDownloadDlg*>(), nullptr);
    EXPECT_TRUE(m_sandbox.Messages().shown.size() == 1u); // only the connect message
}

TEST_F(CMainFrameTest, DownloadedHistoryIsRemovedWhenItsViewerCloses) {
    ASSERT_TRUE(m_frame->Create(QString()));
    const QString path = QString::fromStdString(WriteHistory("dat1.psh", 5));
    CDownloadCommand::ShowHistory(*m_frame, path);
    ASSERT_NE(m_frame->ActiveChild(), nullptr);
    EXPECT_TRUE(QFile::exists(path));
    m_frame->ActiveChild()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(CMainFrameTest, AMeasurementLeftUnsavedByACrashIsOfferedAtStartAndRecoveredOrGivenUp) {
    ASSERT_TRUE(m_frame->Create(QString()));
    ::setenv("XDG_DATA_HOME", m_sandbox.Path("data").c_str(), 1);
    const std::string folder = m_sandbox.Path("journal");
    const auto leaveJournal = [&folder] {
        HistoryHeader header;
        header.SetMask(0x01);
        header.SetText(HistoryText::ModelName, CModelTable::FindByNumber(1)->name);
        CRecordJournal journal;
        ASSERT_TRUE(journal.Begin(folder, header, 1700000000));
        journal.Add(ChannelAvg, 1.5f);
        journal.Add(ChannelAvg, 2.5f);
        ASSERT_TRUE(journal.Flush(1700000001));
    };
    leaveJournal();
    m_sandbox.Messages().answer = IDNO;
    m_frame->RecoverJournals(folder);
    ASSERT_EQ(m_sandbox.Messages().shown.size(), 1u);
    EXPECT_EQ(m_sandbox.Messages().shown[0].style, MB_YESNOQUESTION);
    EXPECT_NE(m_sandbox.Messages().shown[0].text.find("2 rows"), std::string::npos);
    EXPECT_TRUE(CRecordJournal::Orphans(folder).empty()) << "declined: given up";
    EXPECT_EQ(VisibleChildren(), 0);

    leaveJournal();
    m_sandbox.Messages().answer = IDYES;
    m_frame->RecoverJournals(folder);
    EXPECT_TRUE(CRecordJournal::Orphans(folder).empty());
    const CChildFrame* history = m_frame->ActiveChild();
    ASSERT_NE(history, nullptr) << "the recovered history opens";
    EXPECT_EQ(history->Kind(), ChildKind::History);
    ::unsetenv("XDG_DATA_HOME");
}

TEST_F(CMainFrameTest, TheSessionsEndKeepsSettingsAndUnsavedReadingsWithoutAskingAndClosingStillSaves) {
    m_frame->ChildFactory().SetCreator(ChildKind::Measurement, {});
    m_frame->ChildFactory().KeepJournalsIn(m_sandbox.Path("journal"));
    ASSERT_TRUE(m_frame->Create(QString()));
    ConnectModel(2);
    const std::string model = m_frame->Profile().ModelName();
    const auto savedFrequency = [&model] {
        CSettingProfile saved;
        return saved.Load(model) ? saved.GetFrequency() : -1.0f;
    };
    m_frame->ExecuteCommand(ID_MODE_AVGPEAK);
    auto* screen = qobject_cast<CScreenFrame*>(m_frame->ActiveChild());
    ASSERT_NE(screen, nullptr);
    CScreenController& controller = screen->Controller();
    controller.Start();
    controller.StoreValue(ChannelAvg, 1.5f);
    controller.StoreValue(ChannelAvg, 2.5f);
    m_frame->Profile().SetFrequency(123.0f);
    const size_t messages = m_sandbox.Messages().shown.size();

    m_frame->KeepStateForSessionEnd();
    EXPECT_FLOAT_EQ(savedFrequency(), 123.0f);
    CRecordJournal::Content content;
    ASSERT_EQ(CRecordJournal::Read(controller.Recording().Journal().Path(), content),
              CRecordJournal::ReadResult::Complete);
    EXPECT_EQ(content.series[ChannelAvg].size(), 2u);
    EXPECT_EQ(m_sandbox.Messages().shown.size(), messages);

    // The session went on after all.
    m_frame->Profile().SetFrequency(456.0f);
    m_frame.reset();
    EXPECT_FLOAT_EQ(savedFrequency(), 456.0f);
}
