#pragma once

#include "app/CMeterLink.h"

// The link through the process-wide acquisition engine.
class CEngineMeterLink : public CMeterLink {
public:
    int32_t Connect(int32_t port) override;
    void Disconnect() override;
    bool IsConnected() const override;
    int32_t IdentificationCode() const override;
    int32_t SerialNumber() const override;
    int32_t FirmwareVersion() const override;
    void ClearPending() override;
};
