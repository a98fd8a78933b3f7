#pragma once

#include <cstdint>

// What the AVG & PEAK screen needs of the acquisition engine: the connection, one request at a
// time, the request-pending flag that hands results over, and the averaging set-up sent at
// Start. Lets the screen's logic run against a scripted engine.
class CMeasurementLink {
public:
    virtual ~CMeasurementLink() = default;
    virtual bool IsConnected() const = 0;
    virtual bool Request(int32_t kind, int32_t argument, uint32_t timeoutMs) = 0;
    virtual bool IsPending() const = 0;
    virtual void SetPending(bool pending) = 0;
    // True when the sensor acknowledged every set-up command.
    virtual bool SetAveraging() = 0;
};
