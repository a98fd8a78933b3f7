#include "device/CUsbDevice.h"

#include "device/CUsbDeviceVista.h"
#include "device/CUsbDeviceXP.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

namespace {
// The newer driver from the NT family's version 6 (Vista) on. The extended record is asked
// first and the plain one if the system refuses it.
CUsbDevice::Variant SystemVariant() {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    auto* plain = reinterpret_cast<OSVERSIONINFOW*>(&version);
    if (!GetVersionExW(plain)) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(plain))
            return CUsbDevice::Variant::Newer;
    }
    const bool newer = version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 5;
    return newer ? CUsbDevice::Variant::Newer : CUsbDevice::Variant::Older;
}
} // namespace
#endif

CUsbDevice::CUsbDevice(VariantChooser chooser) : m_chooser(std::move(chooser)) {}

CUsbDevice::Variant CUsbDevice::DefaultVariant() {
    if (const char* variant = std::getenv("PELMORA_USB_VARIANT"); variant && *variant)
        return std::strcmp(variant, "older") == 0 ? Variant::Older : Variant::Newer;
#ifdef _WIN32
    return SystemVariant();
#else
    return Variant::Newer;
#endif
}

bool CUsbDevice::Open(int32_t port) {
    Close();
    const Variant variant = m_chooser ? m_chooser() : DefaultVariant();
    std::unique_ptr<CPowerDevice> inner;
    if (variant == Variant::Newer)
        inner = std::make_unique<CUsbDeviceVista>();
    else
        inner = std::make_unique<CUsbDeviceXP>();
    if (!inner->Open(port))
        return false;
    std::lock_guard lock(m_innerLock);
    m_inner = std::move(inner);
    return true;
}

void CUsbDevice::Close() {
    std::unique_ptr<CPowerDevice> inner;
    {
        std::lock_guard lock(m_innerLock);
        inner = std::move(m_inner);
    }
    if (inner)
        inner->Close();
}

bool CUsbDevice::IsOpen() {
    return m_inner != nullptr;
}

bool CUsbDevice::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    return m_inner && m_inner->Write(bytes, count, written);
}

bool CUsbDevice::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    return m_inner && m_inner->Read(buffer, count, read, timeoutMs);
}

void CUsbDevice::CancelIo() {
    std::lock_guard lock(m_innerLock);
    if (m_inner)
        m_inner->CancelIo();
}
