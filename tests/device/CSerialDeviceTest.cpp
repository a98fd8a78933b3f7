#include "device/CSerialDevice.h"
#include "support/CDeviceSandbox.h"
#include "support/CPseudoTerminal.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>

namespace {
constexpr int kPort = 7;
// Long enough that a test relying on it would hit the runner's time-out, not pass slowly.
constexpr uint32_t kLongTimeoutMs = 60000;

class SerialDevice : public ::testing::Test {
protected:
    void SetUp() override {
        m_sandbox.RegisterPort(kPort, m_terminal.SlavePath());
        ASSERT_TRUE(m_device.Open(kPort));
    }
    void TearDown() override { m_device.Close(); }
    std::string ReadText(uint32_t count, uint32_t timeoutMs, bool* ok) {
        std::string text(count, '\0');
        uint32_t got = 0;
        *ok = m_device.Read(reinterpret_cast<uint8_t*>(text.data()), count, &got, timeoutMs);
        text.resize(got);
        return text;
    }

    CDeviceSandbox m_sandbox;
    CPseudoTerminal m_terminal;
    CSerialDevice m_device;
};

TEST(SerialDeviceOpen, UnknownOrBusyPortFails) {
    CDeviceSandbox sandbox;
    CSerialDevice device;
    EXPECT_FALSE(device.Open(9));
    EXPECT_FALSE(device.IsOpen());

    CPseudoTerminal terminal;
    sandbox.RegisterPort(9, terminal.SlavePath());
    ASSERT_TRUE(device.Open(9));
    CSerialDevice second;
    EXPECT_FALSE(second.Open(9));
    EXPECT_FALSE(second.IsOpen());
}

TEST_F(SerialDevice, WritesTheCommandAt9600Baud) {
    uint32_t written = 0;
    const std::string command = "[GA0100]";
    EXPECT_TRUE(m_device.Write(reinterpret_cast<const uint8_t*>(command.data()), 8, &written));
    EXPECT_EQ(written, 8u);
    EXPECT_EQ(m_terminal.Receive(8), command);
    termios state{};
    tcgetattr(m_terminal.SlaveFd(), &state);
    EXPECT_EQ(cfgetospeed(&state), B9600);
}

TEST_F(SerialDevice, ReplyInPiecesIsGathered) {
    std::thread sensor([this] {
        m_terminal.Send("[A,");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_terminal.Send("1234");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_terminal.Send("]\r");
    });
    bool ok = false;
    EXPECT_EQ(ReadText(9, kLongTimeoutMs, &ok), "[A,1234]\r");
    EXPECT_TRUE(ok);
    sensor.join();
}

TEST_F(SerialDevice, ShortReplyTimesOutKeepingItsBytes) {
    m_terminal.Send("[A,12");
    bool ok = true;
    EXPECT_EQ(ReadText(9, 50, &ok), "[A,12");
    EXPECT_FALSE(ok);
}

TEST_F(SerialDevice, ZeroTimeOutStillTakesWhatHasArrived) {
    m_terminal.Send("[OK]\r");
    // The single read must find the bytes already on the device side.
    pollfd arrived{m_terminal.SlaveFd(), POLLIN, 0};
    ASSERT_EQ(poll(&arrived, 1, -1), 1);
    bool ok = false;
    EXPECT_EQ(ReadText(5, 0, &ok), "[OK]\r");
    EXPECT_TRUE(ok);
}

TEST_F(SerialDevice, ALateReplyIsDroppedBeforeTheNextCommand) {
    m_terminal.Send("[A,0001]\r");
    pollfd arrived{m_terminal.SlaveFd(), POLLIN, 0};
    ASSERT_EQ(poll(&arrived, 1, -1), 1);
    uint32_t written = 0;
    ASSERT_TRUE(m_device.Write(reinterpret_cast<const uint8_t*>("[GA0100]"), 8, &written));
    m_terminal.Send("[A,0002]\r");
    bool ok = false;
    EXPECT_EQ(ReadText(9, kLongTimeoutMs, &ok), "[A,0002]\r");
    EXPECT_TRUE(ok);
}

TEST_F(SerialDevice, CancelEndsReadsAndPausesUntilClose) {
    std::thread disconnect([this] { m_device.CancelIo(); });
    bool ok = true;
    ReadText(9, kLongTimeoutMs, &ok);
    EXPECT_FALSE(ok);
    disconnect.join();
    const uint8_t command[] = {'[', 'G', 'D', ']'};
    EXPECT_FALSE(m_device.Write(command, 4, nullptr));

    m_device.Close();
    EXPECT_FALSE(m_device.IsOpen());
    ASSERT_TRUE(m_device.Open(kPort));
    m_terminal.Send("x");
    EXPECT_EQ(ReadText(1, kLongTimeoutMs, &ok), "x");
    EXPECT_TRUE(ok);
}

TEST_F(SerialDevice, CancelCutsThePauseAfterAWrite) {
    const uint8_t command[] = {'[', 'G', 'D', ']'};
    std::thread disconnect([this] {
        m_terminal.Receive(4);
        m_device.CancelIo();
    });
    EXPECT_FALSE(m_device.Write(command, 4, nullptr));
    disconnect.join();
}

TEST(SerialDeviceClosed, TransfersFail) {
    CSerialDevice device;
    uint8_t buffer[4] = {};
    EXPECT_FALSE(device.Write(buffer, 4, nullptr));
    EXPECT_FALSE(device.Read(buffer, 4, nullptr, 10));
}
} // namespace
