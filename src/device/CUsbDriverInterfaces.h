#pragma once

#include "device/CSetupDiApi.h"

#include <optional>
#include <string>
#include <vector>

// The device paths the sensor's USB drivers publish for an interface class, found through the
// device set-up functions.
class CUsbDriverInterfaces {
public:
    // Paths in the order the system lists them. A failing call ends the walk: what was found
    // before it is kept, and the device set is always released.
    static std::vector<std::string> DevicePaths(CSetupDiApi& api, const GUID& interfaceClass);
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", any case; nothing for other text.
    static std::optional<GUID> ParseGuid(const std::string& text);

private:
    static std::optional<std::string> DetailPath(CSetupDiApi& api, HDEVINFO set,
                                                 SP_DEVICE_INTERFACE_DATA& data);
};
