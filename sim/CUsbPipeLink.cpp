#include "sim/CUsbPipeLink.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/CPollIo.h"

namespace {
constexpr const char* kHostReads = "PIPE01";
constexpr const char* kHostWrites = "PIPE00";
} // namespace

CUsbPipeLink::CUsbPipeLink(const std::string& usbDirectory, std::string deviceName)
    : m_directory(usbDirectory, CUsbDeviceDirectory::kNewerClass, std::move(deviceName)) {}

CUsbPipeLink::~CUsbPipeLink() {
    Unpublish();
}

bool CUsbPipeLink::Publish(std::string& error) {
    if (!m_directory.Prepare(error))
        return false;
    m_published = true;
    for (const char* pipe : {kHostReads, kHostWrites}) {
        if (mkfifo(m_directory.Entry(pipe).c_str(), 0666) != 0) {
            error = "cannot create " + m_directory.Entry(pipe) + ": " + std::strerror(errno);
            Unpublish();
            return false;
        }
    }
    m_commandFd = open(m_directory.Entry(kHostWrites).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    m_replyFd = open(m_directory.Entry(kHostReads).c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_commandFd < 0 || m_replyFd < 0 || !m_directory.Reveal(error)) {
        if (error.empty())
            error = std::string("cannot open the command pipe: ") + std::strerror(errno);
        Unpublish();
        return false;
    }
    return true;
}

std::string CUsbPipeLink::PublishedPath() const {
    return m_published ? m_directory.FinalPath() : std::string();
}

ssize_t CUsbPipeLink::Receive(uint8_t* buffer, size_t capacity, int wakeFd) {
    while (true) {
        const CPollIo::Wait wait = CPollIo::WaitReadable(m_commandFd, wakeFd);
        if (wait != CPollIo::Wait::Ready)
            return wait == CPollIo::Wait::Woken ? 0 : -1;
        const ssize_t received = read(m_commandFd, buffer, capacity);
        if (received > 0)
            return received;
        if (received < 0 && errno != EAGAIN && errno != EINTR)
            return -1;
    }
}

// A reply the host gave up on stays in the FIFO until it is read, as on a real bus.
bool CUsbPipeLink::Send(const uint8_t* bytes, size_t count, int wakeFd) {
    return CPollIo::WriteAll(m_replyFd, bytes, count, wakeFd);
}

void CUsbPipeLink::Unpublish() {
    for (int* fd : {&m_commandFd, &m_replyFd}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
    if (m_published)
        m_directory.Remove({kHostReads, kHostWrites});
    m_published = false;
}
