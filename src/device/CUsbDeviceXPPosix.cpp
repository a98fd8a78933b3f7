#include "device/CUsbDeviceXP.h"

#include "device/CDescriptorIo.h"
#include "device/CUsbDeviceList.h"
#include "platform/CAppPaths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

CUsbDeviceXP::~CUsbDeviceXP() {
    Close();
}

int CUsbDeviceXP::Connect(const std::string& endpoint) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (endpoint.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, endpoint.c_str(), endpoint.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool CUsbDeviceXP::Open(int32_t) {
    Close();
    for (const auto& device : CUsbDeviceList::DevicePaths(kInterfaceClass)) {
        m_fd = Connect(CAppPaths::Join(device, kEndpoint));
        if (m_fd >= 0)
            return true;
    }
    return false;
}

void CUsbDeviceXP::Close() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    m_cancel.Reset();
}

bool CUsbDeviceXP::IsOpen() {
    return m_fd >= 0;
}

bool CUsbDeviceXP::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    CDescriptorIo::DiscardInput(m_fd);
    return CDescriptorIo::SendCommand(m_fd, bytes, count, written, m_cancel);
}

bool CUsbDeviceXP::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    return CDescriptorIo::ReadReply(m_fd, buffer, count, read, timeoutMs, m_cancel);
}

void CUsbDeviceXP::CancelIo() {
    m_cancel.Cancel();
}
