#include "platform/CTcpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

bool ToAddress(const std::string& address, uint16_t port, sockaddr_in& out) {
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

} // namespace

CTcpSocket::~CTcpSocket() {
    Close();
}

CTcpSocket::CTcpSocket(CTcpSocket&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = kClosed;
}

CTcpSocket& CTcpSocket::operator=(CTcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.m_handle;
        other.m_handle = kClosed;
    }
    return *this;
}

CTcpSocket CTcpSocket::Listen(const std::string& address, uint16_t port, std::string& error) {
    sockaddr_in where{};
    if (!ToAddress(address, port, where)) {
        error = "not a numeric IPv4 address: " + address;
        return {};
    }
    CTcpSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const int reuse = 1;
    if (!socket.IsOpen() ||
        setsockopt(static_cast<int>(socket.m_handle), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        bind(static_cast<int>(socket.m_handle), reinterpret_cast<const sockaddr*>(&where), sizeof where) !=
            0 ||
        listen(static_cast<int>(socket.m_handle), 4) != 0) {
        error = std::strerror(errno);
        return {};
    }
    return socket;
}

CTcpSocket CTcpSocket::Connect(const std::string& address, uint16_t port) {
    sockaddr_in where{};
    if (!ToAddress(address, port, where))
        return {};
    CTcpSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.IsOpen() && connect(static_cast<int>(socket.m_handle),
                                   reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0)
        socket.Close();
    return socket;
}

uint16_t CTcpSocket::LocalPort() const {
    sockaddr_in where{};
    socklen_t length = sizeof where;
    if (getsockname(static_cast<int>(m_handle), reinterpret_cast<sockaddr*>(&where), &length) != 0)
        return 0;
    return ntohs(where.sin_port);
}

CTcpSocket::Wait CTcpSocket::WaitReadable(int timeoutMs) const {
    pollfd entry{static_cast<int>(m_handle), POLLIN, 0};
    const int ready = poll(&entry, 1, timeoutMs);
    if (ready < 0)
        return errno == EINTR ? Wait::TimedOut : Wait::Failed;
    return ready == 0 ? Wait::TimedOut : Wait::Ready;
}

CTcpSocket CTcpSocket::Accept(std::string& peer) const {
    sockaddr_in where{};
    socklen_t length = sizeof where;
    CTcpSocket socket(
        accept4(static_cast<int>(m_handle), reinterpret_cast<sockaddr*>(&where), &length, SOCK_CLOEXEC));
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &where.sin_addr, text, sizeof text);
    peer = std::string(text) + ":" + std::to_string(ntohs(where.sin_port));
    return socket;
}

long CTcpSocket::Receive(char* buffer, size_t size) const {
    return static_cast<long>(recv(static_cast<int>(m_handle), buffer, size, 0));
}

bool CTcpSocket::SendAll(std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t sent = send(static_cast<int>(m_handle), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

void CTcpSocket::SetSendTimeout(int timeoutMs) const {
    const timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    setsockopt(static_cast<int>(m_handle), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

void CTcpSocket::Close() {
    if (m_handle != kClosed)
        ::close(static_cast<int>(m_handle));
    m_handle = kClosed;
}
