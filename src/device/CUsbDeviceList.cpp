#include "device/CUsbDeviceList.h"

#include "platform/CAppPaths.h"
#include "platform/CFilePath.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include "device/CSetupDiApi.h"
#include "device/CUsbDriverInterfaces.h"
#endif

namespace {
const char* PipeDirectoryVariable() {
    const char* directory = std::getenv("PELMORA_USB_DIR");
    return directory && *directory ? directory : nullptr;
}
} // namespace

std::string CUsbDeviceList::Root() {
    if (const char* directory = PipeDirectoryVariable())
        return directory;
    return CAppPaths::Join(CAppPaths::UserDataDirectory(), "usb");
}

// On Windows a pipe directory never takes the driver's place unless asked for by name.
bool CUsbDeviceList::UsesPipeDirectory() {
#ifdef _WIN32
    return PipeDirectoryVariable() != nullptr;
#else
    return true;
#endif
}

std::vector<std::string> CUsbDeviceList::DevicePaths(const std::string& interfaceClass) {
#ifdef _WIN32
    if (!UsesPipeDirectory()) {
        const auto guid = CUsbDriverInterfaces::ParseGuid(interfaceClass);
        CSystemSetupDiApi system;
        return guid ? CUsbDriverInterfaces::DevicePaths(system, *guid) : std::vector<std::string>{};
    }
#endif
    return PipeDirectoryPaths(interfaceClass);
}

std::string CUsbDeviceList::PipePath(const std::string& device, const std::string& pipe) {
    // A driver's device path starts with "\\?\", which turns off the system's '/' conversion.
    return UsesPipeDirectory() ? CAppPaths::Join(device, pipe) : device + "\\" + pipe;
}

std::vector<std::string> CUsbDeviceList::PipeDirectoryPaths(const std::string& interfaceClass) {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(
             CFilePath::FromUtf8(CAppPaths::Join(Root(), interfaceClass)), error)) {
        if (entry.is_directory(error))
            paths.push_back(CFilePath::ToUtf8(entry.path()));
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}
