#pragma once

#include "screens/CMeasurementLink.h"

// The measurement link through the process-wide acquisition engine.
class CEngineMeasurementLink : public CMeasurementLink {
public:
    bool IsConnected() const override;
    bool Request(int32_t kind, int32_t argument, uint32_t timeoutMs) override;
    bool IsPending() const override;
    void SetPending(bool pending) override;
    void RunSetup(SetupJob job, SetupDone done) override;
};
