#include "device/CUsbDeviceVista.h"

#include "device/CDescriptorIo.h"
#include "device/CUsbDeviceList.h"
#include "platform/CAppPaths.h"

#include <climits>
#include <fcntl.h>
#include <unistd.h>

CUsbDeviceVista::~CUsbDeviceVista() {
    Close();
}

// The first device directory that can be opened is the device; the pipe is opened
// non-blocking so that a write pipe without a reading peer fails instead of hanging.
int CUsbDeviceVista::OpenPipe(const char* pipe, int flags) {
    for (const auto& device : CUsbDeviceList::DevicePaths(kInterfaceClass)) {
        const int trial = open(device.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (trial < 0)
            continue;
        close(trial);
        const std::string path = CAppPaths::Join(device, pipe);
        if (path.size() >= PATH_MAX)
            return -1;
        return open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    }
    return -1;
}

bool CUsbDeviceVista::Open(int32_t) {
    Close();
    m_readFd = OpenPipe(kReadPipe, O_RDONLY);
    if (m_readFd >= 0)
        m_writeFd = OpenPipe(kWritePipe, O_WRONLY);
    if (!IsOpen()) {
        Close();
        return false;
    }
    return true;
}

void CUsbDeviceVista::Close() {
    for (int* fd : {&m_readFd, &m_writeFd}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    m_cancel.Reset();
}

bool CUsbDeviceVista::IsOpen() {
    return m_readFd >= 0 && m_writeFd >= 0;
}

bool CUsbDeviceVista::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    CDescriptorIo::DiscardInput(m_readFd);
    return CDescriptorIo::SendCommand(m_writeFd, bytes, count, written, m_cancel);
}

bool CUsbDeviceVista::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    return CDescriptorIo::ReadReply(m_readFd, buffer, count, read, timeoutMs, m_cancel);
}

void CUsbDeviceVista::CancelIo() {
    m_cancel.Cancel();
}
