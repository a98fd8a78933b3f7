#include "appcore/CScpiServer.h"
#include "support/CFixedScpiInstrument.h"

#include <gtest/gtest.h>

#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

// Reads up to and including the next LF; "" when the server closed or nothing came in time.
std::string ReadLine(const CTcpSocket& socket) {
    std::string line;
    char c = 0;
    while (socket.WaitReadable(5000) == CTcpSocket::Wait::Ready && socket.Receive(&c, 1) == 1) {
        line += c;
        if (c == '\n')
            return line;
    }
    return line;
}

class ScpiServer : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server.Start("127.0.0.1", 0, error)) << error;
    }
    CTcpSocket Connect() { return CTcpSocket::Connect("127.0.0.1", server.Port()); }

    CFixedScpiInstrument instrument;
    std::mutex lock;
    std::vector<std::string> clients;
    CScpiServer server{instrument, [this](const std::string& peer) {
                           std::lock_guard guard(lock);
                           clients.push_back(peer);
                       }};
};

TEST_F(ScpiServer, OneClientControlsAndASecondIsRefused) {
    const CTcpSocket first = Connect();
    ASSERT_TRUE(first.SendAll("*IDN?\n"));
    EXPECT_EQ(ReadLine(first), "Pelmora,Model 1,1234,1.05\n");
    const CTcpSocket second = Connect();
    EXPECT_EQ(ReadLine(second), CScpiServer::kBusyMessage);
    EXPECT_EQ(ReadLine(second), ""); // and closed
    ASSERT_TRUE(first.SendAll("FREQ?\n"));
    EXPECT_EQ(ReadLine(first), "1000000000\n");
}

TEST_F(ScpiServer, GarbageAndAClientGoneMidCommandLeaveTheServerAnswering) {
    {
        const CTcpSocket noisy = Connect();
        std::mt19937 random(7);
        std::string garbage(300000, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random() % 256);
        ASSERT_TRUE(noisy.SendAll(garbage));
        ASSERT_TRUE(noisy.SendAll("\n*IDN?\n"));
        std::string line;
        for (int i = 0; i < 10000 && line.rfind("Pelmora,", 0) != 0; ++i)
            line = ReadLine(noisy); // the garbage may have held queries of its own
        EXPECT_EQ(line, "Pelmora,Model 1,1234,1.05\n");
        ASSERT_TRUE(noisy.SendAll("MEAS:POW:AV"));
    }
    const CTcpSocket next = Connect();
    ASSERT_TRUE(next.SendAll("SYST:ERR?\n"));
    EXPECT_EQ(ReadLine(next), "0,\"No error\"\n"); // a new client starts with an empty queue
    server.Stop();
    std::lock_guard guard(lock);
    ASSERT_EQ(clients.size(), 4u);
    EXPECT_EQ(clients[1], "");
    EXPECT_EQ(clients[3], "");
}

TEST_F(ScpiServer, AClientThatNeverReadsIsDroppedAndTheNextIsServed) {
    std::thread greedy([this] {
        const CTcpSocket socket = Connect();
        std::string queries;
        for (int i = 0; i < 1000000; ++i)
            queries += "*IDN?\n";
        socket.SendAll(queries); // blocks once the server stops reading, fails once it hangs up
    });
    std::string line;
    for (int attempt = 0; attempt < 100 && line != "Pelmora,Model 1,1234,1.05\n"; ++attempt) {
        const CTcpSocket next = Connect();
        if (next.SendAll("*IDN?\n"))
            line = ReadLine(next);
    }
    EXPECT_EQ(line, "Pelmora,Model 1,1234,1.05\n");
    greedy.join();
}

} // namespace
