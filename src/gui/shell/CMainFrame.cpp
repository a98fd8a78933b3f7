#include "gui/shell/CMainFrame.h"

#include "appcore/CLinkFailureTexts.h"
#include "appcore/CLoggingLink.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CScreenController.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/history/CHistoryView.h"
#include "gui/kit/CCommandActions.h"
#include "gui/kit/CCorePath.h"
#include "gui/kit/CMenuBuilder.h"
#include "gui/screens/CRelativeFrame.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CConnectDlg.h"
#include "gui/shell/CDownloadCommand.h"
#include "gui/shell/CMainFrameRules.h"
#include "gui/shell/CRemoteControl.h"
#include "gui/shell/CSensorSlot.h"
#include "gui/shell/CSettingCommand.h"
#include "gui/shell/CStatusPanes.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kIdleUpdateMs = 200;
constexpr int kStatusPaneId = 102;

const std::vector<CAccelerator>& MainAccelerators() {
    static const std::vector<CAccelerator> table = {
        {ID_APP_EXIT, QKeySequence(Qt::ALT | Qt::Key_X)},
        {ID_DEVICE_CONNECT, QKeySequence(Qt::CTRL | Qt::Key_D)},
        {ID_DEVICE_DISCONNECT, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {ID_FILE_OPEN, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {ID_HELP, QKeySequence(Qt::CTRL | Qt::Key_H)},
        {ID_NEXT_PANE, QKeySequence(Qt::Key_F6)},
        {ID_PREV_PANE, QKeySequence(Qt::SHIFT | Qt::Key_F6)},
    };
    return table;
}

std::vector<CAccelerator> Extended(std::vector<CAccelerator> table,
                                   std::initializer_list<CAccelerator> more) {
    table.insert(table.end(), more);
    return table;
}

const std::vector<CAccelerator>& MeasurementAccelerators() {
    static const std::vector<CAccelerator> table =
        Extended(MainAccelerators(), {{ID_DEVICE_SETTING, QKeySequence(Qt::CTRL | Qt::Key_T)},
                                      {ID_FILE_SAVE, QKeySequence(Qt::CTRL | Qt::Key_S)},
                                      {ID_MEASURE_RESET, QKeySequence(Qt::CTRL | Qt::Key_R)}});
    return table;
}

const std::vector<CAccelerator>& HistoryAccelerators() {
    static const std::vector<CAccelerator> table =
        Extended(MainAccelerators(), {{ID_FILE_SAVE, QKeySequence(Qt::CTRL | Qt::Key_S)},
                                      {ID_FILE_SAVE_AS, QKeySequence(Qt::CTRL | Qt::Key_A)}});
    return table;
}

} // namespace

CMainFrame::CMainFrame(std::unique_ptr<CMeterLink> link, QWidget* parent)
    : QMainWindow(parent), m_session(std::move(link), m_profile, *this, this) {
    Q_INIT_RESOURCE(pelmora); // the icons live in the static user-interface library
    m_commands = new CCommandActions(
        this,
        [this](int id) {
            // A shortcut may fire between two refreshes; the rule decides at the moment of use.
            if (QueryCommand(id).enabled)
                ExecuteCommand(id);
        },
        [this](int id) { return QueryCommand(id); });
    m_mainFrameMenu = new QMenu(this);
}

CMainFrame::~CMainFrame() {
    m_idleUpdate = nullptr;
    if (m_remote != nullptr)
        m_remote->Stop();
    if (m_session.IsConnecting())
        QGuiApplication::restoreOverrideCursor(); // the connect's result will find no frame
    for (const auto& slot : m_slots)
        if (slot->Session().IsConnecting())
            QGuiApplication::restoreOverrideCursor();
    if (m_mdiArea != nullptr) {
        for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
            if (auto* child = qobject_cast<CChildFrame*>(window)) {
                disconnect(child, nullptr, this, nullptr);
                ReleaseChild(child);
            }
            delete window;
        }
    }
}

bool CMainFrame::Create(const QString& commandLine) {
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnChildActivated);

    CreateToolbar(MainToolbar);
    CreateStatusBar();
    BuildMenus();

    const QString title = QStringLiteral("Halvex Power Meter %1")
                              .arg(QString::fromStdString(CStringTable::GetGeneralText("S_VERSION")));
    setWindowTitle(title);
    resize(1024, 720);

    m_idleUpdate = new QTimer(this);
    connect(m_idleUpdate, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    m_idleUpdate->start(kIdleUpdateMs);
    OnChildActivated();

    // Opened once the window is shown: before that the window area has no size to place it in.
    const QString path = HistoryPathOf(commandLine);
    if (!path.isEmpty())
        QTimer::singleShot(0, this, [this, path] { OpenHistoryFile(path); });
    return true;
}

const std::vector<int>& CMainFrame::ToolbarLayout(ToolbarIndex index) {
    static const std::array<std::vector<int>, 3> layouts = {{
        {ID_DEVICE_CONNECT, ID_DEVICE_DISCONNECT, ID_FILE_OPEN, 0, ID_HELP},
        {ID_DEVICE_CONNECT, ID_DEVICE_DISCONNECT, ID_FILE_OPEN, 0, ID_EXPORT_CSV, ID_EXPORT_JPG,
         ID_FILE_REPORT, 0, ID_VIEW_AVG, ID_VIEW_REV, ID_VIEW_VSWR, ID_VIEW_PAR, ID_VIEW_PEAK, ID_VIEW_PULSE,
         0, ID_HELP},
        {ID_DEVICE_CONNECT, ID_DEVICE_DISCONNECT, 0, ID_FILE_OPEN, 0, ID_MEASURE_START, ID_MEASURE_STOP,
         ID_MEASURE_RESET, 0, ID_VIEW_FULLSCREEN, ID_VIEW_MULTISCREEN, ID_VIEW_HISTORYGRAPH, 0, ID_HELP},
    }};
    return layouts[index];
}

void CMainFrame::CreateToolbar(ToolbarIndex index) {
    static const char* const names[] = {"MainToolbar", "HistoryToolbar", "MeasurementToolbar"};
    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QLatin1String(names[index]));
    toolbar->setIconSize(QSize(32, 32));
    toolbar->setFloatable(false);
    toolbar->setAllowedAreas(Qt::TopToolBarArea);
    for (int command : ToolbarLayout(index)) {
        if (command == 0)
            toolbar->addSeparator();
        else
            toolbar->addAction(m_commands->Action(command));
    }
    addToolBar(Qt::TopToolBarArea, toolbar);
    toolbar->setVisible(index == MainToolbar);
    m_toolbars[index] = toolbar;
}

void CMainFrame::BuildHiddenParts() {
    if (m_historyMenu != nullptr)
        return;
    CreateToolbar(HistoryToolbar);
    CreateToolbar(MeasurementToolbar);
    m_measurementMenu = CMenuBuilder::BuildMeasurementFrameMenu(nullptr, m_commands);
    m_measurementMenu->setParent(this, m_measurementMenu->windowFlags());
    m_historyMenu = CMenuBuilder::BuildHistoryFrameMenu(nullptr, m_commands);
    m_historyMenu->setParent(this, m_historyMenu->windowFlags());
    FollowWindowMenus();
}

void CMainFrame::FollowWindowMenus() {
    const auto isCascade = [](const QAction* item) { return item->data().toInt() == ID_WINDOW_CASCADE; };
    for (QMenu* frameMenu : {m_measurementMenu, m_historyMenu})
        for (QAction* popup : frameMenu->actions())
            if (QMenu* menu = popup->menu();
                menu != nullptr && std::ranges::any_of(menu->actions(), isCascade))
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
}

// Below the arranging commands: each connected sensor by name, then its screens; the windows
// of no sensor (histories, the Relative screen) last. Nothing is added for a single sensor.
void CMainFrame::FillWindowList(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->property("windowList").toBool())
            delete action;
    if (ConnectedSensorCount() < 2)
        return;
    const auto add = [this, menu](QAction* action) {
        action->setProperty("windowList", true);
        menu->addAction(action);
    };
    const auto addWindow = [this, add, menu](CChildFrame* child) {
        auto* action = new QAction(QStringLiteral("    ") + child->windowTitle(), menu);
        connect(action, &QAction::triggered, this, [this, child = QPointer<CChildFrame>(child)] {
            if (child)
                ShowChild(child);
        });
        add(action);
    };
    add(menu->addSeparator());
    for (const int sensor : ConnectedSensors()) {
        auto* heading = new QAction(SensorCaption(sensor), menu);
        heading->setEnabled(false);
        add(heading);
        for (CChildFrame* screen : ScreensOf(sensor))
            addWindow(screen);
    }
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window);
            child != nullptr && !child->isHidden() &&
            (!child->IsScreen() || child->Kind() == ChildKind::Relative))
            addWindow(child);
}

QToolBar* CMainFrame::Toolbar(ToolbarIndex index) {
    BuildHiddenParts();
    return m_toolbars[index];
}

QMenu* CMainFrame::MeasurementFrameMenu() {
    BuildHiddenParts();
    return m_measurementMenu;
}

QMenu* CMainFrame::HistoryFrameMenu() {
    BuildHiddenParts();
    return m_historyMenu;
}

void CMainFrame::CreateStatusBar() {
    m_statusPanes = new CStatusPanes(this);
    m_statusPanes->setObjectName(QStringLiteral("StatusPane%1").arg(kStatusPaneId));
    statusBar()->addWidget(m_statusPanes, 1);
    m_statusPanes->SetClientWidth(width());
    m_remote = new CRemoteControl(m_session.Link(), m_profile, statusBar());
    m_sensorStates = new QLabel(this);
    m_sensorStates->setObjectName(QStringLiteral("SensorStates"));
    m_sensorStates->hide(); // shown only while several sensors are connected
    statusBar()->addPermanentWidget(m_sensorStates);
}

void CMainFrame::BuildMenus() {
    CMenuBuilder::BuildMainFrameMenu(m_mainFrameMenu, m_commands);
    // Shortcuts must work whichever menu or toolbar is shown.
    for (int id : m_commands->Ids())
        addAction(m_commands->Action(id));
    for (const auto* table : {&MainAccelerators(), &MeasurementAccelerators(), &HistoryAccelerators()}) {
        for (const CAccelerator& accelerator : *table)
            addAction(m_commands->Action(accelerator.command));
    }
}

void CMainFrame::SetStatusText(const QString& text, int pane) {
    m_statusPanes->SetText(pane, text);
}

void CMainFrame::SetStatusText(const std::string& text, int pane) {
    SetStatusText(QString::fromStdString(text), pane);
}

void CMainFrame::ExecuteCommand(int id) {
    CChildFrame* child = ActiveChild();
    if (child == nullptr || !child->OnCommand(id)) {
        if (!OnCommand(id) && m_applicationTarget != nullptr)
            m_applicationTarget->OnCommand(id);
    }
    UpdateCommandStates();
}

void CMainFrame::PostCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { ExecuteCommand(id); }, Qt::QueuedConnection);
}

CCommandState CMainFrame::QueryCommand(int id) {
    CCommandState state;
    if (CChildFrame* child = ActiveChild(); child != nullptr && child->OnUpdateCommand(id, state))
        return state;
    if (OnUpdateCommand(id, state))
        return state;
    if (m_applicationTarget != nullptr && m_applicationTarget->OnUpdateCommand(id, state))
        return state;
    return CCommandState{};
}

void CMainFrame::UpdateCommandStates() {
    m_commands->Refresh();
    ShowSensorStates();
}

bool CMainFrame::OnCommand(int id) {
    if (m_remote != nullptr && m_remote->OnCommand(id))
        return true;
    switch (id) {
    case ID_DEVICE_CONNECT:
        OnConnect();
        return true;
    case ID_DEVICE_DISCONNECT:
        OnDisconnect();
        return true;
    case ID_MODE_SENSOR_RELATIVE:
        OpenRelative();
        return true;
    case ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case ID_FILE_CLOSE:
        if (QMdiSubWindow* window = m_mdiArea->activeSubWindow())
            window->close();
        return true;
    case ID_DEVICE_SETTING:
        if (CChildFrame* child = ActiveChild(); child != nullptr && child->Sensor() > 0)
            CSettingCommand::RunFor(*this, *Slot(child->Sensor()), child);
        else
            CSettingCommand::Run(*this);
        return true;
    case ID_LOGGING:
        CDownloadCommand::Run(*this);
        return true;
    case ID_TOOLBAR_CHOICE:
        ChooseToolbar();
        return true;
    case ID_VIEW_TOOLBAR:
        ToggleToolbars();
        return true;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        return true;
    case ID_WINDOW_CASCADE:
        m_mdiArea->cascadeSubWindows();
        return true;
    case ID_WINDOW_TILE_HORZ:
        TileChildren(Qt::Vertical);
        return true;
    case ID_WINDOW_TILE_VERT:
        TileChildren(Qt::Horizontal);
        return true;
    case ID_APP_EXIT:
        close();
        return true;
    default:
        if (!CMainFrameRules::IsModeCommand(id))
            return false;
        SwitchMode(id);
        return true;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CCommandState& state) {
    if (m_remote != nullptr && m_remote->OnUpdateCommand(id, state))
        return true;
    if (id == ID_DEVICE_CONNECT && (IsConnecting() || IsDisconnecting() || IsAnySessionBusy())) {
        state.Enable(false);
        return true;
    }
    // Connect adds a sensor while there is room for one; Disconnect lets any of them go.
    const int connected = ConnectedSensorCount();
    if (id == ID_DEVICE_CONNECT && IsConnected() && m_linkFactory && connected < kMaxSensors) {
        state.Enable(true);
        return true;
    }
    if (id == ID_DEVICE_DISCONNECT && connected > 0) {
        state.Enable(true);
        return true;
    }
    if (id == ID_MODE_SENSOR_RELATIVE) {
        state.Enable(connected >= 2);
        return true;
    }
    if (id == ID_DEVICE_SETTING && ActiveChild() != nullptr && ActiveChild()->Sensor() > 0) {
        state.Enable(true);
        return true;
    }
    if (CMainFrameRules::Evaluate(id, m_profile.GetModelNumber(), IsConnected(), state))
        return true;
    switch (id) {
    case ID_FILE_OPEN:
    case ID_FILE_CLOSE:
    case ID_TOOLBAR_CHOICE:
    case ID_APP_EXIT:
        state.Enable(true);
        return true;
    case ID_VIEW_TOOLBAR:
        state.Enable(true);
        state.SetCheck(AnyToolbarShown());
        return true;
    case ID_VIEW_STATUS_BAR:
        state.Enable(true);
        state.SetCheck(!statusBar()->isHidden());
        return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT:
        state.Enable(!m_mdiArea->subWindowList().isEmpty());
        return true;
    default:
        return false;
    }
}

void CMainFrame::OnConnect() {
    CConnectDlg dialog(m_trace, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int port = dialog.ResultPort();
    if (!IsConnected())
        ConnectToPort(port);
    else if (!IsPortInUse(port))
        AddSensor(port);
}

void CMainFrame::AddSensor(int port) {
    CSensorSlot* free = nullptr;
    for (const auto& slot : m_slots)
        if (free == nullptr && slot->IsFree())
            free = slot.get();
    if (free == nullptr) {
        if (!m_linkFactory || static_cast<int>(m_slots.size()) + 1 >= kMaxSensors)
            return;
        m_slots.push_back(
            std::make_unique<CSensorSlot>(static_cast<int>(m_slots.size()) + 1, m_linkFactory(), *this));
        free = m_slots.back().get();
        free->Factory().KeepJournalsIn(m_childFactory.JournalFolder());
    }
    free->Session().Connect(port);
}

CSensorSlot* CMainFrame::Slot(int index) const {
    return index >= 1 && index <= static_cast<int>(m_slots.size())
               ? m_slots[static_cast<size_t>(index - 1)].get()
               : nullptr;
}

bool CMainFrame::IsSensorConnected(int sensor) const {
    if (sensor == 0)
        return IsConnected();
    const CSensorSlot* slot = Slot(sensor);
    return slot != nullptr && slot->Session().IsConnected();
}

std::vector<int> CMainFrame::ConnectedSensors() const {
    std::vector<int> sensors;
    for (int sensor = 0; sensor <= static_cast<int>(m_slots.size()); ++sensor)
        if (IsSensorConnected(sensor))
            sensors.push_back(sensor);
    return sensors;
}

int CMainFrame::ConnectedSensorCount() const {
    return static_cast<int>(ConnectedSensors().size());
}

bool CMainFrame::IsAnySessionBusy() const {
    for (const auto& slot : m_slots)
        if (slot->Session().IsConnecting() || slot->Session().IsDisconnecting())
            return true;
    return false;
}

bool CMainFrame::IsPortInUse(int port) const {
    const std::string label = CSensorSession::PortLabelOf(port);
    for (const int sensor : ConnectedSensors())
        if ((sensor == 0 ? m_session.PortLabel() : Slot(sensor)->Session().PortLabel()) == label)
            return true;
    return false;
}

QString CMainFrame::SensorCaption(int sensor) const {
    if (sensor > 0)
        return Slot(sensor)->Caption();
    return QStringLiteral("%1 #%2").arg(ScreenTitle(), QString::fromStdString(m_profile.GetSerialText()));
}

// The active screen's sensor; without one, the user picks when several are connected.
void CMainFrame::OnDisconnect() {
    int sensor = 0;
    const CChildFrame* child = ActiveChild();
    if (child != nullptr && child->IsScreen() && child->Kind() != ChildKind::Relative &&
        IsSensorConnected(child->Sensor()))
        sensor = child->Sensor();
    else if (const std::vector<int> sensors = ConnectedSensors(); sensors.size() > 1)
        sensor = AskWhichSensor();
    else if (sensors.size() == 1)
        sensor = sensors.front();
    if (sensor == 0)
        m_session.Disconnect();
    else if (sensor > 0)
        Slot(sensor)->Session().Disconnect();
}

int CMainFrame::AskWhichSensor() {
    const std::vector<int> sensors = ConnectedSensors();
    QStringList names;
    for (const int sensor : sensors)
        names.append(SensorCaption(sensor));
    bool chosen = false;
    const QString name = QInputDialog::getItem(
        this, windowTitle(),
        QString::fromStdString(CStringTable::GetGeneralText("S_MAINFRAME_DISCONNECT_WHICH")), names, 0, false,
        &chosen);
    const auto index = names.indexOf(name);
    return chosen && index >= 0 ? sensors[static_cast<size_t>(index)] : -1;
}

CChildFrame* CMainFrame::OpenSensorScreen(CSensorSlot& slot, ChildKind kind) {
    CChildFrame* child = slot.Factory().Create(kind);
    child->SetSensor(slot.Index());
    child->SetShell(this);
    m_mdiArea->addSubWindow(child);
    child->hide();
    connect(child, &CChildFrame::Closing, this, &CMainFrame::ReleaseChild);
    Register(child);
    child->Configure();
    child->setWindowTitle(slot.Caption());
    ShowChild(child);
    // Side by side, so that every sensor's screen stays in view.
    TileChildren(Qt::Horizontal);
    return child;
}

void CMainFrame::OpenRelative() {
    if (CChildFrame* open = FindChild(ChildKind::Relative)) {
        ShowChild(open);
        return;
    }
    auto* relative = new CRelativeFrame([this](ChildKind kind) { return RelativeSources(kind); });
    relative->SetShell(this);
    m_mdiArea->addSubWindow(relative);
    relative->hide();
    connect(relative, &CChildFrame::Closing, this, &CMainFrame::ReleaseChild);
    ShowChild(relative);
    TileChildren(Qt::Horizontal);
}

std::vector<SRelativeSource> CMainFrame::RelativeSources(ChildKind kind) const {
    std::vector<SRelativeSource> sources;
    for (const int sensor : ConnectedSensors())
        sources.push_back({SensorCaption(sensor), qobject_cast<CScreenFrame*>(FindSensorChild(sensor, kind)),
                           sensor == 0 ? &m_profile : &Slot(sensor)->Profile()});
    return sources;
}

QString CMainFrame::SensorStates() const {
    QStringList states;
    for (const int sensor : ConnectedSensors()) {
        const char* key = "S_SENSOR_STATE_STOPPED";
        for (CChildFrame* child : ScreensOf(sensor)) {
            const auto* screen = qobject_cast<const CScreenFrame*>(child);
            if (screen == nullptr)
                continue;
            if (screen->Controller().IsLinkLost()) {
                key = "S_SENSOR_STATE_LOST";
                break;
            }
            if (screen->Controller().IsRunning())
                key = "S_SENSOR_STATE_MEASURING";
        }
        states.append(QStringLiteral("%1: %2").arg(
            SensorCaption(sensor), QString::fromStdString(CStringTable::GetGeneralText(key))));
    }
    return states.join(QStringLiteral("   "));
}

void CMainFrame::ShowSensorStates() {
    if (m_sensorStates == nullptr)
        return;
    const bool several = ConnectedSensorCount() > 1;
    if (several)
        m_sensorStates->setText(SensorStates());
    m_sensorStates->setVisible(several);
    // Beside another sensor of the same model, the first sensor's captions need its serial number.
    if (!IsConnected())
        return;
    const QString title = several ? SensorCaption(0) : ScreenTitle();
    for (CChildFrame* screen : Screens())
        if (screen->windowTitle() != title)
            screen->setWindowTitle(title);
}

void CMainFrame::ShowBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

// Every open screen follows the connected model, or closes when the model has no such mode.
void CMainFrame::ConfigureScreens() {
    for (CChildFrame* screen : Screens()) {
        if (!CMainFrameRules::ModelHasScreen(m_profile.GetModelNumber(), screen->Kind())) {
            screen->close();
            continue;
        }
        screen->Configure();
        screen->setWindowTitle(ScreenTitle());
    }
}

bool CMainFrame::OfferToSaveScreens() {
    for (CChildFrame* screen : Screens())
        if (!screen->OfferToSave())
            return false;
    return true;
}

std::unique_ptr<CLoggingLink> CMainFrame::LoggingLink() {
    return m_session.Link().LoggingLink(m_session.PortLabel().starts_with("COM"));
}

void CMainFrame::ForgetScreenMeasurements() {
    for (CChildFrame* screen : Screens())
        screen->ForgetMeasurement();
}

void CMainFrame::SensorReleased() {
    if (m_remote != nullptr)
        m_remote->Stop();
    for (CChildFrame* screen : Screens())
        screen->SensorReleased();
}

QString CMainFrame::ScreenTitle() const {
    return QStringLiteral("%1, %2").arg(PortLabel(), ModelName());
}

void CMainFrame::OnFileOpen() {
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("psh"));
    dialog.setNameFilters({QStringLiteral("PSH files(*.psh)"), QStringLiteral("All files(*.*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        OpenHistoryFile(dialog.selectedFiles().constFirst());
}

bool CMainFrame::OpenHistoryFile(const QString& path) {
    CChildFrame* frame = CreateChild(ChildKind::History);
    if (!frame->LoadFile(CCorePath::FromQt(path))) {
        CMessageBoxes::FromText(this, CHistoryView::OpenFailureText(frame->LoadError()), MB_ICONSTOP);
        frame->close();
        return false;
    }
    frame->setWindowTitle(
        QStringLiteral("%1, %2").arg(path, QString::fromStdString(frame->DocumentModelName())));
    ShowChild(frame);
    return true;
}

bool CMainFrame::OpenHistory(const std::string& path) {
    return OpenHistoryFile(CCorePath::ToQt(path));
}

void CMainFrame::SwitchMode(int command) {
    const int mode = CMainFrameRules::ModeOf(command);
    const ChildKind kind = CMainFrameRules::ScreenOfMode(mode);
    CChildFrame* screen = FindChild(kind);
    if (screen != nullptr)
        ShowChild(screen);
    else if ((screen = OpenScreenReplacingActive(kind)) == nullptr)
        return; // the active screen stays: its measurement was not to be dropped
    m_currentMode = mode;
    // An open screen is configured again too: the sensor may have changed since it opened.
    if (!IsConnected()) {
        CMessageBoxes::FromKeyNoOwner("S_MAINFRAME_ONDEVICECONNECT", MB_ICONSTOP);
        screen->close();
        return;
    }
    screen->Configure();
    PostCommand(ID_DEVICE_SETTING); // a screen opens with its setting dialog
    screen->setWindowTitle(ScreenTitle());
    ShowChild(screen);
}

// The active child is closed first (stopped on its way out, see ReleaseChild); nullptr when it
// stayed open.
CChildFrame* CMainFrame::OpenScreenReplacingActive(ChildKind kind) {
    if (CChildFrame* previous = ActiveChild(); previous != nullptr && !previous->close())
        return nullptr;
    CChildFrame* screen = CreateChild(kind);
    Register(screen);
    return screen;
}

void CMainFrame::ChooseToolbar() {
    if (!AnyToolbarShown())
        return; // the user hid them; they stay hidden
    ShowOnlyToolbar(MatchingToolbar(), true);
}

void CMainFrame::ToggleToolbars() {
    ShowOnlyToolbar(MatchingToolbar(), !AnyToolbarShown());
}

void CMainFrame::ShowOnlyToolbar(ToolbarIndex index, bool shown) {
    if (index != MainToolbar)
        BuildHiddenParts();
    for (QToolBar* toolbar : m_toolbars) {
        if (toolbar != nullptr)
            toolbar->setVisible(shown && toolbar == m_toolbars[index]);
    }
}

void CMainFrame::TileChildren(Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (!window->isHidden() && !window->isMinimized())
            windows.append(window);
    if (windows.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int index = 0; index < count; ++index) {
        QRect cell = area;
        if (orientation == Qt::Vertical) {
            cell.setTop(area.height() * index / count);
            cell.setBottom(area.height() * (index + 1) / count - 1);
        } else {
            cell.setLeft(area.width() * index / count);
            cell.setRight(area.width() * (index + 1) / count - 1);
        }
        windows[index]->showNormal();
        windows[index]->setGeometry(cell);
    }
}

CChildFrame* CMainFrame::CreateChild(ChildKind kind) {
    CChildFrame* child = m_childFactory.Create(kind);
    child->SetShell(this);
    m_mdiArea->addSubWindow(child);
    child->hide();
    connect(child, &CChildFrame::Closing, this, &CMainFrame::ReleaseChild);
    return child;
}

void CMainFrame::ShowChild(CChildFrame* child) {
    const bool firstShow = child->isHidden();
    if (child->isMinimized())
        child->showNormal();
    child->show();
    if (firstShow)
        PlaceNewChild(child);
    m_mdiArea->setActiveSubWindow(child);
    OnChildActivated();
}

void CMainFrame::PlaceNewChild(CChildFrame* child) {
    // A window opened beside a maximized one is maximized too; placing it would leave it
    // half drawn, maximized in name only.
    if (child->isMaximized())
        return;
    const int others = VisibleChildCount() - 1;
    // A screen alone in the window gets all of it.
    if (child->IsScreen() && others == 0) {
        child->showMaximized();
        return;
    }
    // Cascade from the top left so that a new window is never placed outside the visible area.
    constexpr int kStep = 24;
    const QSize area = m_mdiArea->viewport()->size();
    const QSize size = child->sizeHint();
    const int offset = (others * kStep) % std::max(kStep, area.height() - size.height() + kStep);
    child->setGeometry(QRect(QPoint(offset, offset), size));
}

int CMainFrame::VisibleChildCount() const {
    int count = 0;
    for (const QMdiSubWindow* window : m_mdiArea->subWindowList())
        count += window->isHidden() ? 0 : 1;
    return count;
}

CReadingSinks& CMainFrame::SinksOf(int sensor) {
    CSensorSlot* slot = Slot(sensor);
    return slot != nullptr ? slot->Session().Link().Sinks() : m_session.Link().Sinks();
}

void CMainFrame::Register(CChildFrame* screen) {
    CReadingSinks& sinks = SinksOf(screen->Sensor());
    switch (screen->Kind()) {
    case ChildKind::Measurement:
        sinks.Set(CReadingSinks::Kind::Measurement, screen->Receiver());
        break;
    case ChildKind::Pulse:
        sinks.Set(CReadingSinks::Kind::Pulse, screen->Receiver());
        break;
    case ChildKind::Ccdf:
        sinks.Set(CReadingSinks::Kind::Ccdf, screen->Receiver());
        break;
    case ChildKind::History:
    case ChildKind::Relative:
        break;
    }
}

void CMainFrame::ReleaseChild(CChildFrame* child) {
    if (!child->IsScreen())
        return;
    child->OnCommand(ID_MEASURE_STOP);
    if (child->Receiver() != nullptr)
        SinksOf(child->Sensor()).Remove(child->Receiver());
}

CChildFrame* CMainFrame::ActiveChild() const {
    if (m_mdiArea == nullptr)
        return nullptr;
    auto* child = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow());
    return child != nullptr && !child->isHidden() ? child : nullptr;
}

void CMainFrame::StopScreens() {
    for (CChildFrame* screen : Screens())
        screen->OnCommand(ID_MEASURE_STOP);
}

void CMainFrame::KeepStateForSessionEnd() {
    m_profile.SaveAsOnExit();
    for (const auto& slot : m_slots)
        slot->Profile().SaveAsOnExit();
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (auto* screen = qobject_cast<CScreenFrame*>(window))
            screen->Controller().Recording().FlushJournal();
}

std::vector<CChildFrame*> CMainFrame::Screens() const {
    return ScreensOf(0);
}

std::vector<CChildFrame*> CMainFrame::ScreensOf(int sensor) const {
    std::vector<CChildFrame*> screens;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child != nullptr && child->IsScreen() && child->Kind() != ChildKind::Relative &&
            child->Sensor() == sensor && !child->isHidden())
            screens.push_back(child);
    }
    return screens;
}

CChildFrame* CMainFrame::FindChild(ChildKind kind) const {
    return FindSensorChild(0, kind);
}

CChildFrame* CMainFrame::FindSensorChild(int sensor, ChildKind kind) const {
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        auto* child = qobject_cast<CChildFrame*>(window);
        if (child != nullptr && child->Kind() == kind && child->Sensor() == sensor &&
            child->isVisibleTo(this))
            return child;
    }
    return nullptr;
}

void CMainFrame::OnChildActivated() {
    if (m_idleUpdate == nullptr)
        return; // still being created, or already going away
    const CChildFrame* child = ActiveChild();
    if (child == nullptr) {
        ShowMenu(m_mainFrameMenu);
        m_commands->ApplyAccelerators(MainAccelerators());
    } else if (child->IsScreen()) {
        ShowMenu(MeasurementFrameMenu());
        m_commands->ApplyAccelerators(MeasurementAccelerators());
    } else {
        ShowMenu(HistoryFrameMenu());
        m_commands->ApplyAccelerators(HistoryAccelerators());
    }
    ExecuteCommand(ID_TOOLBAR_CHOICE);
}

CMainFrame::ToolbarIndex CMainFrame::MatchingToolbar() const {
    const CChildFrame* child = ActiveChild();
    if (child == nullptr)
        return MainToolbar;
    return child->IsScreen() ? MeasurementToolbar : HistoryToolbar;
}

bool CMainFrame::AnyToolbarShown() const {
    for (const QToolBar* toolbar : m_toolbars)
        if (toolbar != nullptr && !toolbar->isHidden())
            return true;
    return false;
}

void CMainFrame::ShowMenu(QMenu* menu) {
    if (m_shownMenu == menu)
        return;
    m_shownMenu = menu;
    menuBar()->clear();
    for (QAction* popup : menu->actions())
        menuBar()->addAction(popup);
}

QString CMainFrame::ModelName() const {
    const SensorModel* model = m_profile.GetModel();
    return model != nullptr ? QString::fromLatin1(model->name) : QString();
}

QString CMainFrame::CommandLineOf(const QStringList& arguments) {
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString CMainFrame::HistoryPathOf(const QString& commandLine) {
    QString path = commandLine;
    path.remove(QLatin1Char('"'));
    return path.trimmed();
}

bool CMainFrame::event(QEvent* event) {
    // Prompts go to pane 0 only, so that pane 1 keeps its warning while the user browses menus.
    if (event->type() == QEvent::StatusTip && m_statusPanes != nullptr) {
        m_statusPanes->SetText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_historyMenu == nullptr && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
}

// The first paint follows the window's first exposure at once; what is hidden comes after it.
bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &CMainFrame::BuildHiddenParts);
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_statusPanes != nullptr)
        m_statusPanes->SetClientWidth(width());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    m_mdiArea->closeAllSubWindows();
    for (const QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (!window->isHidden()) {
            event->ignore(); // a child refused to close
            return;
        }
    }
    // Saved here rather than only on destruction, so that a failure can still be told.
    m_session.SaveProfileOnExit();
    for (const auto& slot : m_slots)
        slot->Session().SaveProfileOnExit();
    event->accept();
}
