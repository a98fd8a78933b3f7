#include "appcore/CScpiServer.h"

#include "appcore/CScpiLineReader.h"
#include "appcore/CScpiSession.h"

CScpiServer::CScpiServer(CScpiInstrument& instrument, ClientChanged onClientChanged)
    : m_instrument(instrument), m_onClientChanged(std::move(onClientChanged)) {}

CScpiServer::~CScpiServer() {
    Stop();
}

bool CScpiServer::Start(const std::string& address, uint16_t port, std::string& error) {
    Stop();
    m_listener = CTcpSocket::Listen(address, port, error);
    if (!m_listener.IsOpen())
        return false;
    m_port = m_listener.LocalPort();
    m_stopping = false;
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void CScpiServer::Stop() {
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    m_listener.Close();
}

void CScpiServer::Serve() {
    while (!m_stopping) {
        if (m_listener.WaitReadable(kPollMs) != CTcpSocket::Wait::Ready)
            continue;
        std::string peer;
        const CTcpSocket client = m_listener.Accept(peer);
        if (!client.IsOpen())
            continue;
        if (m_onClientChanged)
            m_onClientChanged(peer);
        Converse(client);
        if (m_onClientChanged)
            m_onClientChanged({});
    }
}

void CScpiServer::Converse(const CTcpSocket& client) {
    client.SetSendTimeout(kSendTimeoutMs);
    CScpiSession session(m_instrument);
    bool gone = false;
    CScpiLineReader reader(
        [&](std::string_view line) {
            const std::string response = session.Execute(line);
            if (!gone && !response.empty())
                gone = !client.SendAll(response);
        },
        [&] { session.ReportInputOverrun(); });
    char buffer[4096];
    while (!m_stopping && !gone) {
        const CTcpSocket::Wait wait = client.WaitReadable(kPollMs);
        if (wait == CTcpSocket::Wait::TimedOut) {
            // Only now is it sure that the client is still there: one that just closed would
            // have been readable, and a program reconnecting at once is not turned away.
            RefuseWaitingClients();
            continue;
        }
        const long count = wait == CTcpSocket::Wait::Ready ? client.Receive(buffer, sizeof buffer) : -1;
        if (count <= 0)
            return;
        reader.Append(std::string_view(buffer, static_cast<size_t>(count)));
    }
}

void CScpiServer::RefuseWaitingClients() {
    while (m_listener.WaitReadable(0) == CTcpSocket::Wait::Ready) {
        std::string peer;
        const CTcpSocket other = m_listener.Accept(peer);
        if (!other.IsOpen())
            return;
        other.SendAll(kBusyMessage);
    }
}
