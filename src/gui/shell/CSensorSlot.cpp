#include "gui/shell/CSensorSlot.h"

#include "appcore/CMeterLink.h"
#include "appcore/CommandIds.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CMainFrameRules.h"

#include <QGuiApplication>

CSensorSlot::CSensorSlot(int index, std::unique_ptr<CMeterLink> link, CMainFrame& frame)
    : m_index(index), m_frame(frame), m_session(std::move(link), m_profile, *this, &frame),
      m_factory(m_profile, m_session.Link()) {
    m_profile.KeepOwnFile(true);
}

CSensorSlot::~CSensorSlot() = default;

bool CSensorSlot::IsFree() const {
    return !m_session.IsConnected() && !m_session.IsConnecting() && !m_session.IsDisconnecting();
}

QString CSensorSlot::Caption() const {
    const SensorModel* model = m_profile.GetModel();
    return QStringLiteral("%1, %2 #%3")
        .arg(QString::fromStdString(m_session.PortLabel()),
             model != nullptr ? QLatin1String(model->name) : QString(),
             QString::fromStdString(m_profile.GetSerialText()));
}

void CSensorSlot::StopScreens() {
    for (CChildFrame* screen : m_frame.ScreensOf(m_index))
        screen->OnCommand(ID_MEASURE_STOP);
}

bool CSensorSlot::OfferToSaveScreens() {
    for (CChildFrame* screen : m_frame.ScreensOf(m_index))
        if (!screen->OfferToSave())
            return false;
    return true;
}

void CSensorSlot::ForgetScreenMeasurements() {
    for (CChildFrame* screen : m_frame.ScreensOf(m_index))
        screen->ForgetMeasurement();
}

// A sensor added opens on its AVG & PEAK screen; open screens follow its model.
void CSensorSlot::ConfigureScreens() {
    const std::vector<CChildFrame*> screens = m_frame.ScreensOf(m_index);
    for (CChildFrame* screen : screens) {
        if (!CMainFrameRules::ModelHasScreen(m_profile.GetModelNumber(), screen->Kind())) {
            screen->close();
            continue;
        }
        screen->Configure();
        screen->setWindowTitle(Caption());
    }
    if (screens.empty())
        m_frame.OpenSensorScreen(*this, ChildKind::Measurement);
}

void CSensorSlot::SensorReleased() {
    for (CChildFrame* screen : m_frame.ScreensOf(m_index))
        screen->SensorReleased();
}

void CSensorSlot::SessionChanged() {
    m_frame.UpdateCommandStates();
}

void CSensorSlot::ShowBusy(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

bool CSensorSlot::OpenHistory(const std::string& path) {
    return m_frame.OpenHistoryFile(QString::fromStdString(path));
}
