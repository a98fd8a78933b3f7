#pragma once

#include "appcore/SensorIdentity.h"
#include "protocol/CMeterEngine.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

class CRequestTicket;

// What a measurement screen needs of the acquisition engine: the connection, one request at a
// time with the ticket that tells whether its reply is still awaited, and the set-up sent at
// Start. Lets the screens' logic run against a scripted engine.
class CMeasurementLink {
public:
    // A set-up sequence; true when the sensor acknowledged every command of it.
    using SetupJob = std::function<bool(CMeterEngine&)>;
    using SetupDone = std::function<void(bool acknowledged)>;
    // The exchanges of a measuring screen begin at least this far apart: the engine's worker
    // holds each back, at most 50 readings a second.
    static constexpr uint32_t kPaceMs = 20;

    virtual ~CMeasurementLink() = default;
    virtual bool IsConnected() const = 0;
    // Connected, but the sensor stopped answering and the link is being reopened.
    virtual bool IsLinkLost() const { return false; }
    // While the link is lost, another sensor than the connected one answers on its port.
    virtual bool IsOtherSensorOnPort() const { return false; }
    // The identification code the connected sensor reported; -1 without one.
    virtual int32_t IdentificationCode() const { return -1; }
    // The serial number the connected sensor reported; -1 without one.
    virtual int32_t SerialNumber() const { return -1; }
    SensorIdentity Sensor() const { return {IdentificationCode(), SerialNumber()}; }
    // Why the last exchange failed, to name the cause of a lost link.
    virtual CMeterEngine::Failure LastFailure() const { return CMeterEngine::Failure::None; }
    // Queues one request for the first of `kinds`, or for as many of them as the link runs back
    // to back (the ticket's Readings); nullptr when it was refused. Its replies reach the
    // screen's handler in order while the ticket is not dropped.
    virtual std::shared_ptr<CRequestTicket> Request(std::span<const int32_t> kinds, int32_t argument,
                                                    uint32_t timeoutMs) = 0;
    // Runs the job where it does not hold up the window; `done` follows on the screen's thread,
    // and never after the link was destroyed.
    virtual void RunSetup(SetupJob job, SetupDone done) = 0;
};
