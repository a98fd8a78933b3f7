#include "device/CUsbDeviceVista.h"

#include "device/CUsbDeviceList.h"

namespace {
// A device of the pipe directory is a folder; the driver's device opens as a file, shared.
bool CanOpenDevice(const std::string& device) {
    if (CUsbDeviceList::UsesPipeDirectory())
        return CWin32Handle::CanOpenDirectory(device);
    CWin32Handle trial;
    return trial.Open(device, true);
}
} // namespace

CUsbDeviceVista::~CUsbDeviceVista() {
    Close();
}

// The first device that can be opened is the device; its pipe is opened shared.
bool CUsbDeviceVista::OpenPipe(const char* pipe, CWin32Handle& handle) {
    for (const auto& device : CUsbDeviceList::DevicePaths(kInterfaceClass)) {
        if (CanOpenDevice(device))
            return handle.Open(CUsbDeviceList::PipePath(device, pipe), true);
    }
    return false;
}

bool CUsbDeviceVista::Open(int32_t) {
    Close();
    if (!OpenPipe(kReadPipe, m_read) || !OpenPipe(kWritePipe, m_write)) {
        Close();
        return false;
    }
    return true;
}

void CUsbDeviceVista::Close() {
    m_read.Close();
    m_write.Close();
    m_cancel.Reset();
}

bool CUsbDeviceVista::IsOpen() {
    return m_read.IsOpen() && m_write.IsOpen();
}

bool CUsbDeviceVista::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    return m_write.Write(bytes, count, written, m_cancel);
}

bool CUsbDeviceVista::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    return m_read.Read(buffer, count, read, timeoutMs, m_cancel);
}

void CUsbDeviceVista::CancelIo() {
    m_cancel.Cancel();
}
