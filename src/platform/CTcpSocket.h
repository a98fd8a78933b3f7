#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A TCP socket: a listener on one local address, or a connection it accepted. Waits take a
// time-out so that a serving thread can look at its stop flag between them.
class CTcpSocket {
public:
    enum class Wait { Ready, TimedOut, Failed };

    CTcpSocket() = default;
    ~CTcpSocket();
    CTcpSocket(CTcpSocket&& other) noexcept;
    CTcpSocket& operator=(CTcpSocket&& other) noexcept;
    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Listens on a numeric IPv4 address ("127.0.0.1") and port (0 picks a free one). On
    // failure the socket is closed and error says why.
    static CTcpSocket Listen(const std::string& address, uint16_t port, std::string& error);
    // Connects to a numeric IPv4 address and port (tests and clients).
    static CTcpSocket Connect(const std::string& address, uint16_t port);

    bool IsOpen() const { return m_handle != kClosed; }
    uint16_t LocalPort() const;
    Wait WaitReadable(int timeoutMs) const;
    // The next waiting connection, with the peer as "address:port".
    CTcpSocket Accept(std::string& peer) const;
    // Bytes received; 0 when the peer closed, negative on failure.
    long Receive(char* buffer, size_t size) const;
    // False when the peer is gone, or read nothing for the send time-out; never raises a signal.
    bool SendAll(std::string_view bytes) const;
    // How long a send may wait for a peer that does not read; without one it waits forever.
    void SetSendTimeout(int timeoutMs) const;
    void Close();

private:
    static constexpr intptr_t kClosed = -1;

    explicit CTcpSocket(intptr_t handle) : m_handle(handle) {}

    intptr_t m_handle = kClosed;
};
