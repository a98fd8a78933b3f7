#include "sim/CPtyLink.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "platform/CAppPaths.h"
#include "sim/CPollIo.h"
#include "sim/CSimPaths.h"

namespace {
constexpr auto kDrainPoll = std::chrono::milliseconds(5);
constexpr int kDrainAttempts = 200;
constexpr int kDrainEmptyChecks = 3;

// A link whose terminal is gone was left by a sensor that did not clean up.
bool IsStaleLink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && stat(path.c_str(), &info) != 0;
}

std::string LinkTarget(const std::string& path) {
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
    return length < 0 ? std::string() : std::string(target, static_cast<size_t>(length));
}
} // namespace

CPtyLink::CPtyLink(std::string portsDirectory, int comNumber)
    : m_portsDirectory(std::move(portsDirectory)), m_comNumber(comNumber) {}

CPtyLink::~CPtyLink() {
    Unpublish();
}

bool CPtyLink::Publish(std::string& error) {
    if (!OpenTerminal(error))
        return false;
    if (Register(error))
        return true;
    Unpublish();
    return false;
}

bool CPtyLink::OpenTerminal(std::string& error) {
    char name[PATH_MAX] = {};
    if (openpty(&m_masterFd, &m_slaveFd, name, nullptr, nullptr) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    m_slavePath = name;
    termios settings{};
    tcgetattr(m_slaveFd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    tcsetattr(m_slaveFd, TCSANOW, &settings);
    CPollIo::SetNonBlocking(m_masterFd);
    return true;
}

bool CPtyLink::Register(std::string& error) {
    if (!CSimPaths::MakeDirectories(m_portsDirectory)) {
        error = "cannot create the ports directory " + m_portsDirectory;
        return false;
    }
    if (m_comNumber > 0) {
        m_registered = TryRegister(m_comNumber);
        if (!m_registered)
            error = "COM" + std::to_string(m_comNumber) + " is taken (" + LinkPath(m_comNumber) + ")";
        return m_registered;
    }
    for (int number = kFirstAutomaticPort; number <= kLastPort && !m_registered; ++number) {
        m_registered = TryRegister(number);
        if (m_registered)
            m_comNumber = number;
    }
    if (!m_registered)
        error = "no free COM number in " + m_portsDirectory;
    return m_registered;
}

bool CPtyLink::TryRegister(int comNumber) {
    const std::string path = LinkPath(comNumber);
    if (IsStaleLink(path))
        unlink(path.c_str());
    // symlink fails if the name exists, so two sensors never take the same number.
    return symlink(m_slavePath.c_str(), path.c_str()) == 0;
}

std::string CPtyLink::LinkPath(int comNumber) const {
    return CAppPaths::Join(m_portsDirectory, "com" + std::to_string(comNumber));
}

std::string CPtyLink::PublishedPath() const {
    return m_registered ? LinkPath(m_comNumber) : std::string();
}

ssize_t CPtyLink::Receive(uint8_t* buffer, size_t capacity, int wakeFd) {
    while (true) {
        const CPollIo::Wait wait = CPollIo::WaitReadable(m_masterFd, wakeFd);
        if (wait != CPollIo::Wait::Ready)
            return wait == CPollIo::Wait::Woken ? 0 : -1;
        const ssize_t received = read(m_masterFd, buffer, capacity);
        if (received > 0)
            return received;
        if (received == 0 || (errno != EAGAIN && errno != EINTR))
            return -1;
    }
}

bool CPtyLink::Send(const uint8_t* bytes, size_t count, int wakeFd) {
    return CPollIo::WriteAll(m_masterFd, bytes, count, wakeFd);
}

// Closing the terminal throws away input the host has not read yet. Written bytes reach
// the host's side a moment later, so it counts as read only when it stays empty.
void CPtyLink::Drain(int wakeFd) {
    int emptyChecks = 0;
    for (int attempt = 0; attempt < kDrainAttempts && emptyChecks < kDrainEmptyChecks; ++attempt) {
        if (!CPollIo::Pause(kDrainPoll, wakeFd))
            return;
        int unread = 0;
        if (ioctl(m_slaveFd, FIONREAD, &unread) != 0)
            return;
        emptyChecks = unread == 0 ? emptyChecks + 1 : 0;
    }
}

void CPtyLink::Unpublish() {
    if (m_registered && LinkTarget(LinkPath(m_comNumber)) == m_slavePath)
        unlink(LinkPath(m_comNumber).c_str());
    m_registered = false;
    for (int* fd : {&m_masterFd, &m_slaveFd}) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
}
