#include "device/CUsbDeviceXP.h"

#include "device/CUsbDeviceList.h"

namespace {
// The older driver's device path is the device itself; a pipe directory's device has an endpoint.
std::string EndpointOf(const std::string& device) {
    return CUsbDeviceList::UsesPipeDirectory() ? CUsbDeviceList::PipePath(device, CUsbDeviceXP::kEndpoint)
                                               : device;
}
} // namespace

CUsbDeviceXP::~CUsbDeviceXP() {
    Close();
}

// The device is opened unshared: one program talks to the sensor at a time.
bool CUsbDeviceXP::Open(int32_t) {
    Close();
    for (const auto& device : CUsbDeviceList::DevicePaths(kInterfaceClass)) {
        if (m_device.Open(EndpointOf(device), false))
            return true;
    }
    return false;
}

void CUsbDeviceXP::Close() {
    m_device.Close();
    m_cancel.Reset();
}

bool CUsbDeviceXP::IsOpen() {
    return m_device.IsOpen();
}

bool CUsbDeviceXP::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    return m_device.Write(bytes, count, written, m_cancel);
}

bool CUsbDeviceXP::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    return m_device.Read(buffer, count, read, timeoutMs, m_cancel);
}

void CUsbDeviceXP::CancelIo() {
    m_cancel.Cancel();
}
