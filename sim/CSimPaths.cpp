#include "sim/CSimPaths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

#include "platform/CAppPaths.h"

namespace {
std::string FromEnvironmentOr(const char* variable, const char* folder) {
    const char* value = std::getenv(variable);
    if (value && *value)
        return value;
    return CAppPaths::Join(CAppPaths::UserDataDirectory(), folder);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
} // namespace

std::string CSimPaths::PortsDirectory() {
    return FromEnvironmentOr("PELMORA_PORTS_DIR", "ports");
}

std::string CSimPaths::UsbDirectory() {
    return FromEnvironmentOr("PELMORA_USB_DIR", "usb");
}

bool CSimPaths::MakeDirectories(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0755);
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    return IsDirectory(path);
}
