#pragma once

#include <string>
#include <vector>

// The devices the USB drivers publish. On Windows these are the drivers' own device interfaces,
// found through the device set-up functions. The pipe directory stands in for the drivers (the
// virtual sensor, tests): one directory per interface class (named after the class GUID) under
// the USB directory, one subdirectory per device. It is the only layer on other systems, and on
// Windows it is used only when PELMORA_USB_DIR names it.
class CUsbDeviceList {
public:
    // $PELMORA_USB_DIR, else "usb" in the user data directory.
    static std::string Root();
    static bool UsesPipeDirectory();
    // Device paths of an interface class; empty when there are none. Pipe directories come in
    // name order, driver interfaces in the system's order.
    static std::vector<std::string> DevicePaths(const std::string& interfaceClass);
    // The path that opens a pipe (or endpoint) of a device found above.
    static std::string PipePath(const std::string& device, const std::string& pipe);

private:
    static std::vector<std::string> PipeDirectoryPaths(const std::string& interfaceClass);
};
