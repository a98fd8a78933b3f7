#include "gui/shell/CEngineMeterLink.h"

#include "protocol/CMeterEngine.h"

void CEngineMeterLink::Connect(int32_t port, ConnectDone done) {
    // The window's measurements wait out a lost sensor instead of failing.
    CMeterEngine::Instance().SetAutoReconnect(true);
    CMeterEngine::Instance().ConnectAsync(port, m_poster.Wrap(std::move(done)));
}

void CEngineMeterLink::Disconnect(DisconnectDone done) {
    CMeterEngine::Instance().DisconnectAsync(m_poster.Wrap(std::move(done)));
}

bool CEngineMeterLink::IsConnected() const {
    return CMeterEngine::Instance().IsConnected();
}

int32_t CEngineMeterLink::IdentificationCode() const {
    return CMeterEngine::Instance().GetIdentificationCode();
}

int32_t CEngineMeterLink::SerialNumber() const {
    return CMeterEngine::Instance().GetSerialNumber();
}

int32_t CEngineMeterLink::FirmwareVersion() const {
    return CMeterEngine::Instance().GetFirmwareVersion();
}

void CEngineMeterLink::ClearPending() {
    CMeterEngine::Instance().SetPending(false);
}

CReadingSinks& CEngineMeterLink::Sinks() {
    return CMeterEngine::Instance().Sinks();
}

CMeterEngine::Failure CEngineMeterLink::LastFailure() const {
    return CMeterEngine::Instance().GetLastFailure();
}
