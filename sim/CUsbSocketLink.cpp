#include "sim/CUsbSocketLink.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "sim/CPollIo.h"

namespace {
constexpr const char* kEndpoint = "ENDPOINT";

bool FillAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}
} // namespace

CUsbSocketLink::CUsbSocketLink(const std::string& usbDirectory, std::string deviceName)
    : m_directory(usbDirectory, CUsbDeviceDirectory::kOlderClass, std::move(deviceName)) {}

CUsbSocketLink::~CUsbSocketLink() {
    Unpublish();
}

bool CUsbSocketLink::Publish(std::string& error) {
    sockaddr_un address{};
    if (!FillAddress(m_directory.FinalEntry(kEndpoint), address)) {
        error = "the socket path is too long: " + m_directory.FinalEntry(kEndpoint);
        return false;
    }
    if (!m_directory.Prepare(error))
        return false;
    m_published = true;
    if (Listen(error) && m_directory.Reveal(error))
        return true;
    Unpublish();
    return false;
}

bool CUsbSocketLink::Listen(std::string& error) {
    sockaddr_un address{};
    m_listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const bool listening = m_listenFd >= 0 && FillAddress(m_directory.Entry(kEndpoint), address) &&
                           bind(m_listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                           listen(m_listenFd, 4) == 0;
    if (!listening)
        error = "cannot listen on " + m_directory.Entry(kEndpoint) + ": " + std::strerror(errno);
    return listening;
}

std::string CUsbSocketLink::PublishedPath() const {
    return m_published ? m_directory.FinalPath() : std::string();
}

void CUsbSocketLink::Accept() {
    m_hostFd = accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
}

void CUsbSocketLink::CloseHost() {
    if (m_hostFd >= 0)
        close(m_hostFd);
    m_hostFd = -1;
}

ssize_t CUsbSocketLink::Receive(uint8_t* buffer, size_t capacity, int wakeFd) {
    while (true) {
        const int waitFd = m_hostFd >= 0 ? m_hostFd : m_listenFd;
        const CPollIo::Wait wait = CPollIo::WaitReadable(waitFd, wakeFd);
        if (wait != CPollIo::Wait::Ready)
            return wait == CPollIo::Wait::Woken ? 0 : -1;
        if (m_hostFd < 0) {
            Accept();
            continue;
        }
        const ssize_t received = recv(m_hostFd, buffer, capacity, 0);
        if (received > 0)
            return received;
        if (received == 0 || (errno != EAGAIN && errno != EINTR))
            CloseHost();
    }
}

bool CUsbSocketLink::Send(const uint8_t* bytes, size_t count, int wakeFd) {
    if (m_hostFd < 0)
        return false;
    if (CPollIo::WriteAll(m_hostFd, bytes, count, wakeFd))
        return true;
    CloseHost();
    return false;
}

void CUsbSocketLink::Unpublish() {
    CloseHost();
    if (m_listenFd >= 0)
        close(m_listenFd);
    m_listenFd = -1;
    if (m_published)
        m_directory.Remove({kEndpoint});
    m_published = false;
}
