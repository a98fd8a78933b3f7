#pragma once

#include <cstdint>

// The main frame's view of the acquisition engine: connection and identity. Lets the shell
// be exercised without a sensor.
class CMeterLink {
public:
    virtual ~CMeterLink() = default;
    // 0 when connected, a negative code otherwise. A port below 1 means USB.
    virtual int32_t Connect(int32_t port) = 0;
    virtual void Disconnect() = 0;
    virtual bool IsConnected() const = 0;
    virtual int32_t IdentificationCode() const = 0;
    virtual int32_t SerialNumber() const = 0;
    virtual int32_t FirmwareVersion() const = 0;
    // Clears the hand-over flag so that no reading is in flight for a screen about to go away.
    virtual void ClearPending() = 0;
};
