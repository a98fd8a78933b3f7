#pragma once

#include <string>

// A scratch tree for device tests: its own ports and USB directories (through the environment)
// and an empty system root, so nothing touches the machine's real serial ports.
class CDeviceSandbox {
public:
    CDeviceSandbox();
    ~CDeviceSandbox();
    CDeviceSandbox(const CDeviceSandbox&) = delete;
    CDeviceSandbox& operator=(const CDeviceSandbox&) = delete;

    const std::string& Path() const { return m_path; }
    std::string PortsDir() const { return m_path + "/ports"; }
    std::string UsbDir() const { return m_path + "/usb"; }
    std::string RootDir() const { return m_path + "/root"; }
    // Makes root/<relative> a symbolic link to target, creating parent directories.
    void LinkInRoot(const std::string& relative, const std::string& target) const;
    void WriteInRoot(const std::string& relative, const std::string& text) const;
    // Registers target as COM port n in the ports directory.
    void RegisterPort(int port, const std::string& target) const;

private:
    std::string m_path;
};
