#include "sim/CUsbDeviceDirectory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "platform/CAppPaths.h"
#include "sim/CSimPaths.h"

CUsbDeviceDirectory::CUsbDeviceDirectory(const std::string& usbDirectory, const char* interfaceClass,
                                         std::string deviceName)
    : m_classPath(CAppPaths::Join(usbDirectory, interfaceClass)),
      m_finalPath(CAppPaths::Join(m_classPath, deviceName)),
      m_hiddenPath(CAppPaths::Join(m_classPath, "." + deviceName)) {}

bool CUsbDeviceDirectory::Prepare(std::string& error) {
    if (access(m_finalPath.c_str(), F_OK) == 0) {
        error = "the USB device " + m_finalPath + " exists already";
        return false;
    }
    if (!CSimPaths::MakeDirectories(m_hiddenPath)) {
        error = "cannot create " + m_hiddenPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool CUsbDeviceDirectory::Reveal(std::string& error) {
    if (std::rename(m_hiddenPath.c_str(), m_finalPath.c_str()) != 0) {
        error = "cannot publish " + m_finalPath + ": " + std::strerror(errno);
        return false;
    }
    m_revealed = true;
    return true;
}

void CUsbDeviceDirectory::Remove(std::initializer_list<const char*> entries) {
    for (const char* name : entries)
        unlink(Entry(name).c_str());
    rmdir((m_revealed ? m_finalPath : m_hiddenPath).c_str());
    m_revealed = false;
}

std::string CUsbDeviceDirectory::Entry(const char* name) const {
    return CAppPaths::Join(m_revealed ? m_finalPath : m_hiddenPath, name);
}

std::string CUsbDeviceDirectory::FinalEntry(const char* name) const {
    return CAppPaths::Join(m_finalPath, name);
}
