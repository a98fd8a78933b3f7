#pragma once

#include "appcore/CMeterLink.h"
#include "gui/kit/CUiThreadPoster.h"

class CMeterEngine;

// The link through one sensor's acquisition engine, which the application owns.
class CEngineMeterLink : public CMeterLink {
public:
    explicit CEngineMeterLink(CMeterEngine& engine) : m_engine(engine) {}

    void Connect(int32_t port, ConnectDone done) override;
    void Disconnect(DisconnectDone done) override;
    bool IsConnected() const override;
    int32_t IdentificationCode() const override;
    int32_t SerialNumber() const override;
    int32_t FirmwareVersion() const override;
    CMeterEngine::Failure LastFailure() const override;
    CReadingSinks& Sinks() override;
    std::unique_ptr<CMeasurementLink> MeasurementLink(const CSettingProfile& profile) override;
    std::unique_ptr<CLoggingLink> LoggingLink(bool serial) override;
    std::unique_ptr<CScpiInstrument> RemoteInstrument(const CSettingProfile& profile) override;

private:
    CMeterEngine& m_engine;
    CUiThreadPoster m_poster;
};
