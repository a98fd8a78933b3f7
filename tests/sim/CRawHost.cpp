#include "CRawHost.h"

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

namespace {
int ConnectSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

int OpenSerial(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (fd >= 0 && tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}
} // namespace

CRawHost::CRawHost(Kind kind, const std::string& path) {
    if (kind == Kind::Serial) {
        m_readFd = m_writeFd = OpenSerial(path);
    } else if (kind == Kind::UsbSocket) {
        m_readFd = m_writeFd = ConnectSocket(path + "/ENDPOINT");
        m_isSocket = true;
    } else {
        m_readFd = open((path + "/PIPE01").c_str(), O_RDONLY | O_CLOEXEC);
        m_writeFd = open((path + "/PIPE00").c_str(), O_WRONLY | O_CLOEXEC);
    }
}

CRawHost::~CRawHost() {
    Close();
}

void CRawHost::Close() {
    if (m_writeFd >= 0 && m_writeFd != m_readFd)
        close(m_writeFd);
    if (m_readFd >= 0)
        close(m_readFd);
    m_readFd = m_writeFd = -1;
}

bool CRawHost::Send(const std::vector<uint8_t>& bytes) {
    if (m_writeFd < 0)
        return false;
    const ssize_t written = m_isSocket ? send(m_writeFd, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                                       : write(m_writeFd, bytes.data(), bytes.size());
    return written == static_cast<ssize_t>(bytes.size());
}

std::vector<uint8_t> CRawHost::Receive(size_t count, int timeoutMs) {
    std::vector<uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (bytes.size() < count && m_readFd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{m_readFd, POLLIN, 0};
        if (left.count() < 0 || poll(&entry, 1, static_cast<int>(left.count())) <= 0)
            break;
        uint8_t buffer[4096];
        const ssize_t received = read(m_readFd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (received <= 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + received);
    }
    return bytes;
}

std::vector<uint8_t> CRawHost::Exchange(const std::vector<uint8_t>& command, size_t replyBytes) {
    Send(command);
    return Receive(replyBytes);
}

bool CRawHost::LinkEnded(int timeoutMs) {
    pollfd entry{m_readFd, POLLIN, 0};
    if (poll(&entry, 1, timeoutMs) <= 0)
        return false;
    uint8_t byte = 0;
    return (entry.revents & (POLLHUP | POLLERR)) != 0 || read(m_readFd, &byte, 1) <= 0;
}

std::vector<uint8_t> CRawHost::Plain(const char* mnemonic) {
    return {'[', static_cast<uint8_t>(mnemonic[0]), static_cast<uint8_t>(mnemonic[1]), ']'};
}

std::vector<uint8_t> CRawHost::WithArgument(const char* mnemonic, int32_t argument) {
    const auto bits = static_cast<uint32_t>(argument);
    return {'[',
            static_cast<uint8_t>(mnemonic[0]),
            static_cast<uint8_t>(mnemonic[1]),
            static_cast<uint8_t>(bits),
            static_cast<uint8_t>(bits >> 8),
            static_cast<uint8_t>(bits >> 16),
            static_cast<uint8_t>(bits >> 24),
            ']'};
}

int32_t CRawHost::Int32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i)
        bits = (bits << 8) | bytes.at(offset + i);
    return static_cast<int32_t>(bits);
}

uint16_t CRawHost::Uint16At(const std::vector<uint8_t>& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}
