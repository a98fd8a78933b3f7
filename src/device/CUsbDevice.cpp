#include "device/CUsbDevice.h"

#include "device/CUsbDeviceVista.h"
#include "device/CUsbDeviceXP.h"

#include <cstdlib>
#include <cstring>

CUsbDevice::CUsbDevice(VariantChooser chooser) : m_chooser(std::move(chooser)) {}

CUsbDevice::Variant CUsbDevice::DefaultVariant() {
    const char* variant = std::getenv("PELMORA_USB_VARIANT");
    return variant && std::strcmp(variant, "older") == 0 ? Variant::Older : Variant::Newer;
}

bool CUsbDevice::Open(int32_t port) {
    Close();
    const Variant variant = m_chooser ? m_chooser() : DefaultVariant();
    if (variant == Variant::Newer)
        m_inner = std::make_unique<CUsbDeviceVista>();
    else
        m_inner = std::make_unique<CUsbDeviceXP>();
    if (!m_inner->Open(port)) {
        m_inner.reset();
        return false;
    }
    return true;
}

void CUsbDevice::Close() {
    if (!m_inner)
        return;
    m_inner->Close();
    m_inner.reset();
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
    if (m_inner)
        m_inner->CancelIo();
}
