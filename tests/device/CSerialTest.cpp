#include "device/CSerial.h"
#include "support/CPseudoTerminal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <termios.h>
#include <thread>

namespace {
class SerialPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_terminal.SlavePath().empty());
        ASSERT_EQ(m_serial.Open(m_terminal.SlavePath(), 0, 0, true), 0);
    }
    termios SlaveState() const {
        termios state{};
        tcgetattr(m_terminal.SlaveFd(), &state);
        return state;
    }

    CPseudoTerminal m_terminal;
    CSerial m_serial;
};

TEST(SerialClosed, EveryOperationReportsNotOpen) {
    CSerial serial;
    char buffer[4];
    uint32_t count = 99;
    EXPECT_EQ(serial.Read(buffer, 4, &count, nullptr, CSerial::kInfinite), CSerial::kNotOpen);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(serial.Write("ab", 2, nullptr, nullptr, CSerial::kInfinite), CSerial::kNotOpen);
    EXPECT_EQ(serial.SetLine(9600, 8, 0, 0), CSerial::kNotOpen);
    EXPECT_EQ(serial.SetReadMode(0), CSerial::kNotOpen);
    EXPECT_EQ(serial.GetLastError(), CSerial::kNotOpen);
    EXPECT_EQ(serial.Close(), 0);
}

TEST(SerialClosed, MissingDeviceGivesItsErrno) {
    CSerial serial;
    EXPECT_EQ(serial.Open("/nonexistent/pelmora-tty", 0, 0, true), ENOENT);
    EXPECT_FALSE(serial.IsOpen());
}

// A port whose configuration cannot be applied, as when the driver refuses the settings.
class CUnconfigurableSerial : public CSerial {
public:
    int32_t SetReadMode(int32_t) override { return EIO; }
};

TEST(SerialClosed, ConfigurationFailureFailsOpenAndReleasesTheDevice) {
    CPseudoTerminal terminal;
    CUnconfigurableSerial refused;
    EXPECT_EQ(refused.Open(terminal.SlavePath(), 0, 0, true), EIO);
    EXPECT_EQ(refused.GetLastError(), EIO);
    EXPECT_FALSE(refused.IsOpen());
    CSerial serial;
    EXPECT_EQ(serial.Open(terminal.SlavePath(), 0, 0, true), 0) << "the refused open kept no descriptor";
}

TEST_F(SerialPort, SecondOpenIsRefused) {
    EXPECT_EQ(m_serial.Open(m_terminal.SlavePath(), 0, 0, true), CSerial::kAlreadyOpen);
    EXPECT_TRUE(m_serial.IsOpen());

    CSerial other;
    EXPECT_EQ(other.Open(m_terminal.SlavePath(), 0, 0, true), EBUSY);
    EXPECT_FALSE(other.IsOpen());

    m_serial.Close();
    EXPECT_EQ(other.Open(m_terminal.SlavePath(), 0, 0, true), 0);
}

TEST_F(SerialPort, FreshPortReadsWhatHasArrivedAtOnce) {
    uint8_t buffer[9];
    uint32_t count = 99;
    EXPECT_EQ(m_serial.Read(buffer, 9, &count, nullptr, CSerial::kInfinite), 0);
    EXPECT_EQ(count, 0u);

    m_terminal.Send("[A]");
    ASSERT_EQ(m_serial.SetReadMode(1), 0);
    EXPECT_EQ(m_serial.Read(buffer, 3, &count, nullptr, 10000), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), count), "[A]");
}

TEST_F(SerialPort, BlockingReadTimesOutKeepingThePartialReply) {
    ASSERT_EQ(m_serial.SetReadMode(1), 0);
    m_terminal.Send("ab");
    char buffer[5] = {};
    uint32_t count = 0;
    EXPECT_EQ(m_serial.Read(buffer, 5, &count, nullptr, 50), CSerial::kTimedOut);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(std::string(buffer, 2), "ab");
}

TEST_F(SerialPort, WritesReachTheDevice) {
    uint32_t written = 0;
    EXPECT_EQ(m_serial.Write("[GD]", 4, &written, nullptr, 1000), 0);
    EXPECT_EQ(written, 4u);
    EXPECT_EQ(m_terminal.Receive(4), "[GD]");
}

TEST_F(SerialPort, CallerOverlappedReadCompletesWhatItCan) {
    ASSERT_EQ(m_serial.SetReadMode(1), 0);
    CSerial::Overlapped overlapped;
    char buffer[4];
    EXPECT_EQ(m_serial.Read(buffer, 4, nullptr, &overlapped, 0), 0);
    EXPECT_FALSE(overlapped.completed);
}

TEST_F(SerialPort, InvalidModesAreRejected) {
    EXPECT_EQ(m_serial.SetReadMode(2), CSerial::kInvalidMode);
    EXPECT_EQ(m_serial.SetLine(12345, 8, 0, 0), EINVAL);
    EXPECT_EQ(m_serial.SetLine(9600, 9, 0, 0), EINVAL);
    EXPECT_EQ(m_serial.SetLine(9600, 8, 5, 0), EINVAL);
}

TEST_F(SerialPort, LineSettingsReachTheDevice) {
    ASSERT_EQ(m_serial.SetLine(9600, 8, 0, 0), 0);
    EXPECT_EQ(SlaveState().c_iflag & INPCK, 0u);
    ASSERT_EQ(m_serial.SetLine(115200, 8, 2, 2), 0);
    const termios state = SlaveState();
    EXPECT_NE(state.c_iflag & INPCK, 0u);
    EXPECT_EQ(cfgetospeed(&state), static_cast<speed_t>(B115200));
    // A pseudo-terminal drops the parity bits of the control flags; the input check stays.
    EXPECT_EQ(state.c_cflag & (CSIZE | CSTOPB), static_cast<tcflag_t>(CS8 | CSTOPB));
}

TEST_F(SerialPort, CancelEndsAnEndlessReadUntilClose) {
    ASSERT_EQ(m_serial.SetReadMode(1), 0);
    char buffer[1];
    std::thread canceller([this] { m_serial.CancelIo(); });
    EXPECT_EQ(m_serial.Read(buffer, 1, nullptr, nullptr, CSerial::kInfinite), ECANCELED);
    canceller.join();
    EXPECT_EQ(m_serial.Read(buffer, 1, nullptr, nullptr, CSerial::kInfinite), ECANCELED);

    m_serial.Close();
    ASSERT_EQ(m_serial.Open(m_terminal.SlavePath(), 0, 0, true), 0);
    EXPECT_EQ(m_serial.Read(buffer, 1, nullptr, nullptr, CSerial::kInfinite), 0);
}

TEST(SerialWithoutOverlapped, RefusesTimeOutsAndCallerStructures) {
    CPseudoTerminal terminal;
    CSerial serial;
    ASSERT_EQ(serial.Open(terminal.SlavePath(), 0, 0, false), 0);
    char buffer[4];
    uint32_t count = 7;
    CSerial::Overlapped overlapped;
    EXPECT_EQ(serial.Read(buffer, 4, &count, nullptr, 100), CSerial::kNoOverlappedSupport);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(serial.Write(buffer, 4, nullptr, &overlapped, CSerial::kInfinite),
              CSerial::kNoOverlappedSupport);
    EXPECT_EQ(serial.Read(buffer, 4, &count, nullptr, CSerial::kInfinite), 0);
}
} // namespace
