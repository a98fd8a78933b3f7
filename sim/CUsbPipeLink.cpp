#include "sim/CUsbPipeLink.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/CPollIo.h"

namespace {
constexpr const char* kHostReads = "PIPE01";
constexpr const char* kHostWrites = "PIPE00";

// A write to a FIFO whose reader left raises SIGPIPE on this thread; the thread blocks
// it, and it is taken off here so it never reaches the process.
void DiscardPendingSigpipe() {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    const timespec immediately{0, 0};
    while (sigtimedwait(&pipeSignal, nullptr, &immediately) == SIGPIPE) {
    }
}
} // namespace

CUsbPipeLink::CUsbPipeLink(const std::string& usbDirectory, std::string deviceName)
    : m_directory(usbDirectory, CUsbDeviceDirectory::kNewerClass, std::move(deviceName)) {}

CUsbPipeLink::~CUsbPipeLink() { Unpublish(); }

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
    if (m_commandFd < 0 || !m_directory.Reveal(error)) {
        if (error.empty())
            error = std::string("cannot open the command pipe: ") + std::strerror(errno);
        Unpublish();
        return false;
    }
    return true;
}

std::string CUsbPipeLink::PublishedPath() const { return m_published ? m_directory.FinalPath() : std::string(); }

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

bool CUsbPipeLink::OpenReplyPipe() {
    if (m_replyFd < 0)
        m_replyFd = open(m_directory.Entry(kHostReads).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    return m_replyFd >= 0;
}

void CUsbPipeLink::CloseReplyPipe() {
    if (m_replyFd >= 0)
        close(m_replyFd);
    m_replyFd = -1;
}

// A reply nobody reads is lost, as on a real bus.
bool CUsbPipeLink::Send(const uint8_t* bytes, size_t count, int wakeFd) {
    if (!OpenReplyPipe())
        return false;
    if (CPollIo::WriteAll(m_replyFd, bytes, count, wakeFd))
        return true;
    DiscardPendingSigpipe();
    CloseReplyPipe();
    return false;
}

void CUsbPipeLink::Unpublish() {
    CloseReplyPipe();
    if (m_commandFd >= 0)
        close(m_commandFd);
    m_commandFd = -1;
    if (m_published)
        m_directory.Remove({kHostReads, kHostWrites});
    m_published = false;
}
