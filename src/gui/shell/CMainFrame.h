#pragma once

#include "appcore/CCommandTarget.h"
#include "appcore/CMeterLink.h"
#include "appcore/CSensorSession.h"
#include "appcore/CShellLink.h"
#include "gui/kit/CChildFrame.h"
#include "gui/shell/CChildFrameFactory.h"
#include "model/CSettingProfile.h"
#include "platform/TraceSink.h"
#include "protocol/CReadingSinks.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class CCommandActions;
class CLoggingLink;
class CRemoteControl;
class CSensorSlot;
class QLabel;
struct SRelativeSource;
class CStatusPanes;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
struct CAccelerator;

// The main window: menus, three toolbars, the two-pane status bar and the child windows, and
// the commands that belong to no single screen (connect, open, mode switching, ...). It owns
// the settings profile, which saves itself when the frame is destroyed, and the sensor session.
class CMainFrame : public QMainWindow, public CCommandTarget, public CShellLink, private CSessionWindow {
    Q_OBJECT

public:
    enum ToolbarIndex { MainToolbar = 0, HistoryToolbar = 1, MeasurementToolbar = 2 };

    // The link is the way to the current sensor's engine.
    explicit CMainFrame(std::unique_ptr<CMeterLink> link, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds bars, menus and title, and opens the history file a command line names. False when
    // the frame could not be set up.
    bool Create(const QString& commandLine);
    // Sensors connected beside the first get their engine links from here; without it Connect
    // replaces the one sensor, as it always did.
    using LinkFactory = std::function<std::unique_ptr<CMeterLink>()>;
    void SetLinkFactory(LinkFactory factory) { m_linkFactory = std::move(factory); }
    static constexpr int kMaxSensors = 4;
    // Connects another sensor beside those connected (Connect does it for a port not in use).
    void AddSensor(int port);
    // The sensor beside the first with that index (1..3); nullptr when there is none.
    CSensorSlot* Slot(int index) const;
    int ConnectedSensorCount() const;
    // The open screens of one sensor (0 the first); the Relative screen belongs to none.
    std::vector<CChildFrame*> ScreensOf(int sensor) const;
    CChildFrame* FindSensorChild(int sensor, ChildKind kind) const;
    // Opens a screen of a sensor beside the first, shown with its caption.
    CChildFrame* OpenSensorScreen(CSensorSlot& slot, ChildKind kind);
    // "COM5, VL-D030 #10001: measuring" for every connected sensor, as the status bar shows it.
    QString SensorStates() const;
    // Where Help and About are handled; not owned.
    void SetApplicationTarget(CCommandTarget* target) { m_applicationTarget = target; }

    void SetStatusText(const QString& text, int pane);
    void SetStatusText(const std::string& text, int pane) override;
    bool OpenHistoryFile(const QString& path);
    // Offers the measurements a crash left unsaved in the journal folder for recovery.
    void RecoverJournals(const std::string& folder) { m_session.RecoverJournals(folder); }
    // Steps of the connect command after the dialog. The sensor is identified while the
    // window goes on working; the connect finishes when the link reports back.
    void ConnectToPort(int port) { m_session.Connect(port); }
    bool IsConnecting() const { return m_session.IsConnecting(); }
    // The sensor is released while the window goes on working; Connect waits for the port.
    bool IsDisconnecting() const { return m_session.IsDisconnecting(); }
    // True while at least one measurement screen takes readings.
    bool IsAnyScreenOpen() { return m_session.Link().Sinks().IsAnySet(); }

    // Routes a command to the active child, this frame, then the application.
    void ExecuteCommand(int id);
    void PostCommand(int id) override;
    CCommandState QueryCommand(int id);
    void UpdateCommandStates() override;

    CSettingProfile& Profile() { return m_profile; }
    // The logging page's and the download dialog's way to the connected sensor.
    std::unique_ptr<CLoggingLink> LoggingLink();
    // Where the child windows come from; screens keep their journals where it says.
    CChildFrameFactory& ChildFactory() { return m_childFactory; }
    CCommandActions& Commands() override { return *m_commands; }
    CChildFrame* ActiveChild() const;
    CChildFrame* FindChild(ChildKind kind) const;
    // Stops every screen's measurement, so that nothing else uses the line or the records.
    void StopScreens() override;
    // The open measurement screens.
    std::vector<CChildFrame*> Screens() const;
    // Writes the profile of the current model; false (after telling the user) when that failed.
    bool SaveProfile() { return m_session.SaveProfile(); }
    // The system's session ends: the process may be ended without closing the window, so the
    // settings are written and the unsaved measurements' journals brought up to date, without
    // asking, to be recovered at the next start. The save on closing still follows when the
    // session goes on after all.
    void KeepStateForSessionEnd();
    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* Toolbar(ToolbarIndex index);
    CStatusPanes* StatusPanes() const { return m_statusPanes; }
    QMenu* MainFrameMenu() const { return m_mainFrameMenu; }
    QMenu* MeasurementFrameMenu();
    QMenu* HistoryFrameMenu();
    QString PortLabel() const { return QString::fromStdString(m_session.PortLabel()); }
    bool IsConnected() const { return m_session.IsConnected(); }
    int CurrentMode() const { return m_currentMode; }

    // The command line as one text: the arguments after the program, joined by blanks.
    static QString CommandLineOf(const QStringList& arguments);
    // The history file a command line names (double quotes removed), or empty.
    static QString HistoryPathOf(const QString& commandLine);
    // The toolbars' buttons in order; 0 stands for a separator.
    static const std::vector<int>& ToolbarLayout(ToolbarIndex index);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void CreateToolbar(ToolbarIndex index);
    void CreateStatusBar();
    void BuildMenus();
    // The toolbars and menus of screens and histories, hidden until one opens: built once the
    // window has been painted the first time, or when first needed.
    void BuildHiddenParts();

    void OnConnect();
    void OnDisconnect();
    // The sensor the user picks among those connected; -1 when cancelled.
    int AskWhichSensor();
    // The connected sensors' indexes, first sensor first.
    std::vector<int> ConnectedSensors() const;
    bool IsSensorConnected(int sensor) const;
    bool IsAnySessionBusy() const;
    bool IsPortInUse(int port) const;
    // Port, model and serial number of a connected sensor.
    QString SensorCaption(int sensor) const;
    CReadingSinks& SinksOf(int sensor);
    void OpenRelative();
    std::vector<SRelativeSource> RelativeSources(ChildKind kind) const;
    void ShowSensorStates();
    // The Window menus list the open windows grouped by sensor while several are connected.
    void FollowWindowMenus();
    void FillWindowList(QMenu* menu);
    bool OfferToSaveScreens() override;
    void ForgetScreenMeasurements() override;
    void ConfigureScreens() override;
    void SensorReleased() override;
    void SessionChanged() override { UpdateCommandStates(); }
    void ShowBusy(bool busy) override;
    bool OpenHistory(const std::string& path) override;
    QString ScreenTitle() const;
    void OnFileOpen();
    void SwitchMode(int command);
    CChildFrame* OpenScreenReplacingActive(ChildKind kind);
    void ChooseToolbar();
    void ToggleToolbars();
    // Shows the toolbar `index` (or, when `shown` is false, none) and hides the others.
    void ShowOnlyToolbar(ToolbarIndex index, bool shown);
    void TileChildren(Qt::Orientation orientation);

    CChildFrame* CreateChild(ChildKind kind);
    void ShowChild(CChildFrame* child);
    void PlaceNewChild(CChildFrame* child);
    int VisibleChildCount() const;
    void Register(CChildFrame* screen);
    void ReleaseChild(CChildFrame* child);
    void OnChildActivated();
    ToolbarIndex MatchingToolbar() const;
    bool AnyToolbarShown() const;
    void ShowMenu(QMenu* menu);
    QString ModelName() const;

    CCommandTarget* m_applicationTarget = nullptr;
    CStatusPanes* m_statusPanes = nullptr;
    CRemoteControl* m_remote = nullptr; // owned by the status bar
    std::array<QToolBar*, 3> m_toolbars{};
    QMdiArea* m_mdiArea = nullptr;
    QMenu* m_mainFrameMenu = nullptr;
    QMenu* m_measurementMenu = nullptr;
    QMenu* m_historyMenu = nullptr;
    QMenu* m_shownMenu = nullptr;
    CCommandActions* m_commands = nullptr;
    QTimer* m_idleUpdate = nullptr;
    CSettingProfile m_profile;
    CSensorSession m_session;
    CChildFrameFactory m_childFactory{m_profile, m_session.Link()};
    LinkFactory m_linkFactory;
    std::vector<std::unique_ptr<CSensorSlot>> m_slots;
    QLabel* m_sensorStates = nullptr;
    TraceSink m_trace;
    int m_currentMode = 0;
};
