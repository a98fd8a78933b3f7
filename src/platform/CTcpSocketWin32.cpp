#include "platform/CTcpSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

namespace {

bool ToAddress(const std::string& address, uint16_t port, sockaddr_in& out) {
    std::memset(&out, 0, sizeof out);
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

// Winsock counts its users; each socket is one, released when the socket closes.
bool StartWinsock() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

SOCKET Native(intptr_t handle) {
    return static_cast<SOCKET>(handle);
}

intptr_t NewSocket() {
    if (!StartWinsock())
        return -1;
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        WSACleanup();
        return -1;
    }
    return static_cast<intptr_t>(s);
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
    CTcpSocket socket(NewSocket());
    const BOOL exclusive = TRUE; // another program may not take over the port meanwhile
    if (!socket.IsOpen() ||
        setsockopt(Native(socket.m_handle), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                   reinterpret_cast<const char*>(&exclusive), sizeof exclusive) != 0 ||
        bind(Native(socket.m_handle), reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0 ||
        listen(Native(socket.m_handle), 4) != 0) {
        error = "Winsock error " + std::to_string(WSAGetLastError());
        return {};
    }
    return socket;
}

CTcpSocket CTcpSocket::Connect(const std::string& address, uint16_t port) {
    sockaddr_in where{};
    if (!ToAddress(address, port, where))
        return {};
    CTcpSocket socket(NewSocket());
    if (socket.IsOpen() &&
        connect(Native(socket.m_handle), reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0)
        socket.Close();
    return socket;
}

uint16_t CTcpSocket::LocalPort() const {
    sockaddr_in where{};
    int length = sizeof where;
    if (getsockname(Native(m_handle), reinterpret_cast<sockaddr*>(&where), &length) != 0)
        return 0;
    return ntohs(where.sin_port);
}

CTcpSocket::Wait CTcpSocket::WaitReadable(int timeoutMs) const {
    WSAPOLLFD entry{Native(m_handle), POLLRDNORM, 0};
    const int ready = WSAPoll(&entry, 1, timeoutMs);
    if (ready < 0)
        return Wait::Failed;
    return ready == 0 ? Wait::TimedOut : Wait::Ready;
}

CTcpSocket CTcpSocket::Accept(std::string& peer) const {
    sockaddr_in where{};
    int length = sizeof where;
    const SOCKET s = accept(Native(m_handle), reinterpret_cast<sockaddr*>(&where), &length);
    if (s == INVALID_SOCKET)
        return {};
    StartWinsock(); // the accepted socket is a user of its own
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &where.sin_addr, text, sizeof text);
    peer = std::string(text) + ":" + std::to_string(ntohs(where.sin_port));
    return CTcpSocket(static_cast<intptr_t>(s));
}

long CTcpSocket::Receive(char* buffer, size_t size) const {
    const int count = size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size);
    return recv(Native(m_handle), buffer, count, 0);
}

bool CTcpSocket::SendAll(std::string_view bytes) const {
    while (!bytes.empty()) {
        const int count = bytes.size() > 0x7fffffff ? 0x7fffffff : static_cast<int>(bytes.size());
        const int sent = send(Native(m_handle), bytes.data(), count, 0);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

void CTcpSocket::SetSendTimeout(int timeoutMs) const {
    const DWORD limit = static_cast<DWORD>(timeoutMs);
    setsockopt(Native(m_handle), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit),
               sizeof limit);
}

void CTcpSocket::Close() {
    if (m_handle == kClosed)
        return;
    closesocket(Native(m_handle));
    WSACleanup();
    m_handle = kClosed;
}
