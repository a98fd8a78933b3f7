#pragma once

#include <string>
#include <vector>

// The devices the USB drivers publish: one directory per interface class (named after the
// class GUID) under the USB directory, one subdirectory per device.
class CUsbDeviceList {
public:
    // $PELMORA_USB_DIR, else "usb" in the user data directory.
    static std::string Root();
    // Device directories of an interface class, in name order; empty when there are none.
    static std::vector<std::string> DevicePaths(const std::string& interfaceClass);
};
