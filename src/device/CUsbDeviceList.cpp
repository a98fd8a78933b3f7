#include "device/CUsbDeviceList.h"

#include "platform/CAppPaths.h"
#include "platform/CFilePath.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

std::string CUsbDeviceList::Root() {
    if (const char* directory = std::getenv("PELMORA_USB_DIR"); directory && *directory)
        return directory;
    return CAppPaths::Join(CAppPaths::UserDataDirectory(), "usb");
}

std::vector<std::string> CUsbDeviceList::DevicePaths(const std::string& interfaceClass) {
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
