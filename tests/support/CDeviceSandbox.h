#pragma once

#include "support/CTempDirectory.h"

#include <string>

// A scratch tree for device tests: its own ports and USB directories (through the environment)
// and an empty system root, so nothing touches the machine's real serial ports.
class CDeviceSandbox {
public:
    CDeviceSandbox();
    ~CDeviceSandbox();
    CDeviceSandbox(const CDeviceSandbox&) = delete;
    CDeviceSandbox& operator=(const CDeviceSandbox&) = delete;

    const std::string& Path() const { return m_directory.Path(); }
    std::string PortsDir() const { return m_directory.File("ports"); }
    std::string UsbDir() const { return m_directory.File("usb"); }
    std::string RootDir() const { return m_directory.File("root"); }
    // Where COM port n is registered.
    std::string PortLink(int port) const { return PortsDir() + "/com" + std::to_string(port); }
    // Makes root/<relative> a symbolic link to target, creating parent directories.
    void LinkInRoot(const std::string& relative, const std::string& target) const;
    void WriteInRoot(const std::string& relative, const std::string& text) const;
    // Registers target as COM port n in the ports directory.
    void RegisterPort(int port, const std::string& target) const;

private:
    CTempDirectory m_directory;
};
