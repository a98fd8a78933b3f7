#pragma once

#include <string>

// Where virtual devices are registered, shared with the program's transports.
class CSimPaths {
public:
    // $PELMORA_PORTS_DIR, else the "ports" folder of the user data directory.
    static std::string PortsDirectory();
    // $PELMORA_USB_DIR, else the "usb" folder of the user data directory.
    static std::string UsbDirectory();
    // Creates the directory and its missing parents; true if it exists afterwards.
    static bool MakeDirectories(const std::string& path);
};
