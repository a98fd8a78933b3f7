#include "support/CDeviceSandbox.h"

#include "device/CPortRegistry.h"

#include <filesystem>
#include <fstream>
#include <stdlib.h>

namespace fs = std::filesystem;

CDeviceSandbox::CDeviceSandbox() {
    fs::create_directories(RootDir() + "/dev");
    setenv("PELMORA_PORTS_DIR", PortsDir().c_str(), 1);
    setenv("PELMORA_USB_DIR", UsbDir().c_str(), 1);
    CPortRegistry::OverrideSystemRoot(RootDir());
}

CDeviceSandbox::~CDeviceSandbox() {
    CPortRegistry::OverrideSystemRoot("");
    unsetenv("PELMORA_PORTS_DIR");
    unsetenv("PELMORA_USB_DIR");
}

void CDeviceSandbox::LinkInRoot(const std::string& relative, const std::string& target) const {
    const fs::path link = fs::path(RootDir()) / relative;
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}

void CDeviceSandbox::WriteInRoot(const std::string& relative, const std::string& text) const {
    const fs::path file = fs::path(RootDir()) / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

void CDeviceSandbox::RegisterPort(int port, const std::string& target) const {
    fs::create_directories(PortsDir());
    fs::create_symlink(target, PortLink(port));
}
