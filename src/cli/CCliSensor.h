#pragma once

#include "cli/CCliOptions.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterEngine.h"

#include <cstdint>
#include <string>

// A sensor connected for the length of one command, with its own engine and the settings
// profile of its model.
class CCliSensor {
public:
    CCliSensor() = default;
    ~CCliSensor();
    CCliSensor(const CCliSensor&) = delete;
    CCliSensor& operator=(const CCliSensor&) = delete;

    // Connects to the "--port" option's port (default usb) and identifies the sensor; false
    // after reporting why.
    bool Open(const CliContext& context, const CCliOptions::Values& options);
    CSettingProfile& Profile() { return m_profile; }
    CMeterEngine& Engine() { return m_engine; }
    bool IsSerial() const { return m_port > 0; }

    // Connects the engine to `port`, identifies the sensor and sets the profile's device; false
    // with the reason, the engine then left disconnected.
    static bool ConnectAndIdentify(CMeterEngine& engine, int port, CSettingProfile& profile,
                                   std::string& reason);
    // The reason for a failed connect result of the engine; a sensor that answered with a code
    // no model has is named by that code.
    static std::string ConnectFailure(const CMeterEngine& engine, int32_t result);
    // Why the engine's last exchange failed ("the sensor does not answer", ...), or `fallback`
    // when it recorded no reason.
    static std::string ExchangeFailure(const CMeterEngine& engine, const std::string& fallback);
    // Why a screen the connected model does not have is refused.
    static std::string LacksScreen(const CSettingProfile& profile, const std::string& screen);

private:
    CMeterEngine m_engine;
    CSettingProfile m_profile;
    int m_port = 0;
    bool m_connected = false;
};
