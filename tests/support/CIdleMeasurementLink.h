#pragma once

#include "appcore/CMeasurementLink.h"
#include "protocol/CRequestTicket.h"

// A connected sensor that accepts every request and never answers: the test hands the
// readings to the screen itself.
class CIdleMeasurementLink : public CMeasurementLink {
public:
    bool IsConnected() const override { return true; }
    std::shared_ptr<CRequestTicket> Request(std::span<const int32_t>, int32_t, uint32_t) override {
        ticket = std::make_shared<CRequestTicket>();
        return ticket;
    }
    void RunSetup(SetupJob, SetupDone done) override { done(true); }
    std::shared_ptr<CRequestTicket> ticket; // of the last request
};
