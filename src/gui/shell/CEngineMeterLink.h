#pragma once

#include "appcore/CMeterLink.h"
#include "gui/kit/CUiThreadPoster.h"

// The link through the process-wide acquisition engine.
class CEngineMeterLink : public CMeterLink {
public:
    void Connect(int32_t port, ConnectDone done) override;
    void Disconnect(DisconnectDone done) override;
    bool IsConnected() const override;
    int32_t IdentificationCode() const override;
    int32_t SerialNumber() const override;
    int32_t FirmwareVersion() const override;
    CMeterEngine::Failure LastFailure() const override;
    void ClearPending() override;
    CReadingSinks& Sinks() override;

private:
    CUiThreadPoster m_poster;
};
