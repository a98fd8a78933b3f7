#include "gui/shell/CRemoteControl.h"

#include "appcore/CCommandState.h"
#include "appcore/CMeterLink.h"
#include "appcore/CScpiInstrument.h"
#include "appcore/CScpiServer.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"

#include <QLabel>
#include <QStatusBar>

CRemoteControl::CRemoteControl(CMeterLink& link, const CSettingProfile& profile, QStatusBar* statusBar)
    : QObject(statusBar), m_link(link), m_profile(profile), m_label(new QLabel(statusBar)) {
    setObjectName(QStringLiteral("RemoteControl"));
    m_label->setObjectName(QStringLiteral("RemoteControlPane"));
    m_label->hide();
    statusBar->addPermanentWidget(m_label);
}

CRemoteControl::~CRemoteControl() {
    Stop();
}

void CRemoteControl::SetListenAddress(const std::string& address, uint16_t port) {
    m_address = address;
    m_port = port;
}

uint16_t CRemoteControl::Port() const {
    return m_server ? m_server->Port() : 0;
}

QString CRemoteControl::StatusText() const {
    return m_label->isHidden() ? QString() : m_label->text();
}

bool CRemoteControl::OnCommand(int id) {
    if (id != ID_REMOTE_CONTROL)
        return false;
    if (IsServing()) {
        Stop();
        return true;
    }
    QString error;
    if (!Start(error)) {
        m_label->setText(error);
        m_label->show();
    }
    return true;
}

bool CRemoteControl::OnUpdateCommand(int id, CCommandState& state) const {
    if (id != ID_REMOTE_CONTROL)
        return false;
    state.Enable(IsServing() || m_link.IsConnected());
    state.SetCheck(IsServing());
    return true;
}

bool CRemoteControl::Start(QString& error) {
    m_instrument = m_link.RemoteInstrument(m_profile);
    if (!m_instrument || !m_link.IsConnected())
        return false;
    // The server tells of clients on its own thread, which Stop ends before this object goes;
    // the label changes on this one.
    m_server = std::make_unique<CScpiServer>(*m_instrument, [this](const std::string& peer) {
        QMetaObject::invokeMethod(
            this, [this, text = QString::fromStdString(peer)] { ShowClient(text); }, Qt::QueuedConnection);
    });
    std::string reason;
    if (!m_server->Start(m_address, m_port, reason)) {
        error = Text("S_REMOTE_CANNOT_LISTEN") + " " + Where(m_port) + ": " + QString::fromStdString(reason);
        Stop();
        return false;
    }
    ShowClient({});
    return true;
}

void CRemoteControl::Stop() {
    // A query waiting for the sensor gives up at once, so that the window never waits for it.
    if (m_instrument)
        m_instrument->Abandon();
    m_server.reset();
    m_instrument.reset();
    m_label->clear();
    m_label->hide();
}

void CRemoteControl::ShowClient(const QString& peer) {
    if (!IsServing())
        return;
    QString text = Text("S_REMOTE_LISTENING") + " " + Where(Port());
    if (!peer.isEmpty())
        text += ", " + Text("S_REMOTE_CLIENT") + " " + peer;
    m_label->setText(text);
    m_label->show();
}

QString CRemoteControl::Where(uint16_t port) const {
    return QString::fromStdString(m_address) + ":" + QString::number(port);
}

QString CRemoteControl::Text(const char* key) {
    return QString::fromStdString(CStringTable::GetGeneralText(key));
}
