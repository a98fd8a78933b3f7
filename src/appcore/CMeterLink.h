#pragma once

#include "appcore/CScpiInstrument.h"
#include "protocol/CMeterEngine.h"

#include <cstdint>
#include <functional>
#include <memory>

class CLoggingLink;
class CMeasurementLink;
class CReadingSinks;
class CSettingProfile;

// The main frame's view of the current sensor's acquisition engine: connection, identity,
// where the screens receive their readings, and the links the screens and the logging dialogs
// talk to the sensor through. Lets the shell be exercised without a sensor.
class CMeterLink {
public:
    using ConnectDone = std::function<void(int32_t result)>;
    using DisconnectDone = std::function<void()>;

    virtual ~CMeterLink() = default;
    // Connects without holding up the caller; `done` runs later on the user-interface thread
    // (or at once) with 0 when connected, a negative code otherwise. A port below 1 means USB.
    virtual void Connect(int32_t port, ConnectDone done) = 0;
    // Disconnects at once without waiting for the sensor; `done` runs later on the
    // user-interface thread (or at once) when the port is free.
    virtual void Disconnect(DisconnectDone done) = 0;
    virtual bool IsConnected() const = 0;
    virtual int32_t IdentificationCode() const = 0;
    virtual int32_t SerialNumber() const = 0;
    virtual int32_t FirmwareVersion() const = 0;
    // Why the last exchange failed, to name it when Connect fails.
    virtual CMeterEngine::Failure LastFailure() const { return CMeterEngine::Failure::None; }
    virtual CReadingSinks& Sinks() = 0;
    // A screen's way to the sensor; its requests carry the profile's model and offset.
    virtual std::unique_ptr<CMeasurementLink> MeasurementLink(const CSettingProfile& profile) = 0;
    // The logging page's and the download dialog's way to the sensor; `serial` when the sensor is
    // on a COM port.
    virtual std::unique_ptr<CLoggingLink> LoggingLink(bool serial) = 0;
    // The remote control's way to the connected sensor, starting from the profile's settings;
    // nothing where the link cannot serve one.
    virtual std::unique_ptr<CScpiInstrument> RemoteInstrument(const CSettingProfile& /*profile*/) {
        return nullptr;
    }
};
