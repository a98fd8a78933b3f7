#pragma once

#include "appcore/CScpiInstrument.h"
#include "platform/CTcpSocket.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// Serves the instrument to one SCPI client at a time over TCP, from a thread of its own that
// also makes the instrument's calls. A second client is told that the instrument is in use
// and disconnected, so that two programs never steer one sensor in turns unknowingly.
class CScpiServer {
public:
    static constexpr const char* kBusyMessage = "BUSY: another client controls this instrument\n";

    // Called on the serving thread with the client's "address:port", or "" when it left.
    using ClientChanged = std::function<void(const std::string& peer)>;

    explicit CScpiServer(CScpiInstrument& instrument, ClientChanged onClientChanged = {});
    ~CScpiServer();
    CScpiServer(const CScpiServer&) = delete;
    CScpiServer& operator=(const CScpiServer&) = delete;

    // Listens and starts serving; false with the reason when the address cannot be had.
    bool Start(const std::string& address, uint16_t port, std::string& error);
    // Ends the conversation and stops listening, after the command being answered.
    void Stop();
    uint16_t Port() const { return m_port; }

private:
    void Serve();
    void Converse(const CTcpSocket& client);
    void RefuseWaitingClients();

    // How long a wait lasts before the serving thread looks at its stop flag again.
    static constexpr int kPollMs = 100;
    // A client that reads none of its answers for this long is dropped, so that it cannot hold
    // the serving thread (and whoever stops it) forever.
    static constexpr int kSendTimeoutMs = 2000;

    CScpiInstrument& m_instrument;
    ClientChanged m_onClientChanged;
    CTcpSocket m_listener;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
