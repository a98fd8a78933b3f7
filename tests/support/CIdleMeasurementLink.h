#pragma once

#include "appcore/CMeasurementLink.h"

// A connected sensor that accepts every request and never answers: the test hands the
// readings to the screen itself.
class CIdleMeasurementLink : public CMeasurementLink {
public:
    bool IsConnected() const override { return true; }
    bool Request(int32_t, int32_t, uint32_t) override { return true; }
    bool IsPending() const override { return pending; }
    void SetPending(bool flag) override { pending = flag; }
    void RunSetup(SetupJob, SetupDone done) override { done(true); }
    bool pending = false;
};
