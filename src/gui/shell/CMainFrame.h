#pragma once

#include "appcore/CCommandTarget.h"
#include "appcore/CMeterLink.h"
#include "appcore/CShellLink.h"
#include "gui/kit/CChildFrame.h"
#include "model/CSettingProfile.h"
#include "protocol/CReadingSinks.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class CCommandActions;
class CLoggingLink;
class CStatusPanes;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;
struct CAccelerator;

// The main window: menus, three toolbars, the two-pane status bar and the child windows, and
// the commands that belong to no single screen (connect, open, mode switching, ...). It owns
// the settings profile, which saves itself when the frame is destroyed.
class CMainFrame : public QMainWindow, public CCommandTarget, public CShellLink {
    Q_OBJECT

public:
    enum ToolbarIndex { MainToolbar = 0, HistoryToolbar = 1, MeasurementToolbar = 2 };

    // The link is the way to the current sensor's engine.
    explicit CMainFrame(std::unique_ptr<CMeterLink> link, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds bars, menus and title, registers the frame and its profile, and opens the history
    // file a command line names. False when the frame could not be set up.
    bool Create(const QString& commandLine);
    // Where Help and About are handled; not owned.
    void SetApplicationTarget(CCommandTarget* target) { m_applicationTarget = target; }

    void SetStatusText(const QString& text, int pane);
    void SetStatusText(const std::string& text, int pane) override;
    bool OpenHistoryFile(const QString& path);
    // Offers each measurement whose recording ended without a save (its journal was left in the
    // folder) for recovery as a history file, which then opens; one declined is given up.
    void RecoverJournals(const std::string& folder);
    // Steps of the connect command after the dialog. The sensor is identified while the
    // window goes on working; the connect finishes when the link reports back.
    void ConnectToPort(int port);
    bool IsConnecting() const { return m_connecting; }
    // The sensor is released while the window goes on working; Connect waits for the port.
    bool IsDisconnecting() const { return m_disconnecting; }
    // True while at least one measurement screen takes readings.
    bool IsAnyScreenOpen() { return m_link->Sinks().IsAnySet(); }

    // Routes a command to the active child, this frame, then the application.
    void ExecuteCommand(int id);
    void PostCommand(int id) override;
    CCommandState QueryCommand(int id);
    void UpdateCommandStates() override;

    CSettingProfile& Profile() { return m_profile; }
    // The logging page's and the download dialog's way to the connected sensor.
    std::unique_ptr<CLoggingLink> LoggingLink();
    CCommandActions& Commands() override { return *m_commands; }
    CChildFrame* ActiveChild() const;
    CChildFrame* FindChild(ChildKind kind) const;
    // Stops every screen's measurement, so that nothing else uses the line or the records.
    void StopScreens();
    // The open measurement screens.
    std::vector<CChildFrame*> Screens() const;
    // Writes the profile of the current model; false (after telling the user) when that failed.
    bool SaveProfile();
    QMdiArea* MdiArea() const { return m_mdiArea; }
    QToolBar* Toolbar(ToolbarIndex index);
    CStatusPanes* StatusPanes() const { return m_statusPanes; }
    QMenu* MainFrameMenu() const { return m_mainFrameMenu; }
    QMenu* MeasurementFrameMenu();
    QMenu* HistoryFrameMenu();
    const QString& PortLabel() const { return m_portLabel; }
    bool IsConnected() const { return m_link->IsConnected(); }
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
    void FinishConnect(int port, int32_t result);
    void ReportConnectFailure(int32_t code);
    // False when the user kept the previous sensor's unsaved measurement.
    bool TakeOverSensor(const SensorModel& model);
    void ConfigureScreens();
    // Offers every screen's unsaved measurement for saving; false when the user cancelled.
    bool OfferToSaveScreens();
    QString ScreenTitle() const;
    bool TellIfNotSaved(bool saved);
    void OnDisconnect();
    // Lets the sensor go without waiting for it; `released` runs once the port is free.
    void ReleaseSensor(std::function<void()> released = {});
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

    std::unique_ptr<CMeterLink> m_link;
    CCommandTarget* m_applicationTarget = nullptr;
    CStatusPanes* m_statusPanes = nullptr;
    std::array<QToolBar*, 3> m_toolbars{};
    QMdiArea* m_mdiArea = nullptr;
    QMenu* m_mainFrameMenu = nullptr;
    QMenu* m_measurementMenu = nullptr;
    QMenu* m_historyMenu = nullptr;
    QMenu* m_shownMenu = nullptr;
    CCommandActions* m_commands = nullptr;
    QTimer* m_idleUpdate = nullptr;
    CSettingProfile m_profile;
    int m_currentMode = 0;
    QString m_portLabel;
    bool m_connecting = false;
    bool m_disconnecting = false;
    // The profile holds the settings of a sensor connected in this session.
    bool m_sensorKnown = false;
};
