#include "gui/shell/CEngineMeterLink.h"

#include "appcore/CEngineMeasurementLink.h"
#include "appcore/CEngineScpiInstrument.h"
#include "gui/settings/CEngineLoggingLink.h"
#include "protocol/CMeterEngine.h"

void CEngineMeterLink::Connect(int32_t port, ConnectDone done) {
    // The window's measurements wait out a lost sensor instead of failing.
    m_engine.SetAutoReconnect(true);
    m_engine.ConnectAsync(port, m_poster.Wrap(std::move(done)));
}

void CEngineMeterLink::Disconnect(DisconnectDone done) {
    m_engine.DisconnectAsync(m_poster.Wrap(std::move(done)));
}

bool CEngineMeterLink::IsConnected() const {
    return m_engine.IsConnected();
}

int32_t CEngineMeterLink::IdentificationCode() const {
    return m_engine.GetIdentificationCode();
}

int32_t CEngineMeterLink::SerialNumber() const {
    return m_engine.GetSerialNumber();
}

int32_t CEngineMeterLink::FirmwareVersion() const {
    return m_engine.GetFirmwareVersion();
}

CReadingSinks& CEngineMeterLink::Sinks() {
    return m_engine.Sinks();
}

std::unique_ptr<CMeasurementLink> CEngineMeterLink::MeasurementLink(const CSettingProfile& profile) {
    return std::make_unique<CEngineMeasurementLink>(m_engine, profile, m_poster.Poster());
}

std::unique_ptr<CLoggingLink> CEngineMeterLink::LoggingLink(bool serial) {
    return std::make_unique<CEngineLoggingLink>(m_engine, serial);
}

CMeterEngine::Failure CEngineMeterLink::LastFailure() const {
    return m_engine.GetLastFailure();
}

std::unique_ptr<CScpiInstrument> CEngineMeterLink::RemoteInstrument(const CSettingProfile& profile) {
    return std::make_unique<CEngineScpiInstrument>(
        m_engine, CEngineScpiInstrument::SetupOf(profile, m_engine.GetIdentificationCode()));
}
