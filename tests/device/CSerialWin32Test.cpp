#include "device/CSerial.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <windows.h>

namespace {
// A COM port with a sensor (or anything that stays quiet unless asked) behind it, named by the
// Wine end-to-end test (tests/device/WineComPortTest.sh); the cases that need one skip without.
std::string PortUnderTest() {
    const char* port = std::getenv("PELMORA_TEST_COM_PORT");
    return port && *port ? std::string("\\\\.\\COM") + port : std::string();
}

class SerialOnAPort : public ::testing::Test {
protected:
    void SetUp() override {
        if (PortUnderTest().empty())
            GTEST_SKIP() << "PELMORA_TEST_COM_PORT names no port";
    }
    CSerial m_serial;
};
} // namespace

TEST(SerialWin32, ClosedPortAndMissingPortReportTheSystemCodes) {
    CSerial serial;
    char buffer[4];
    uint32_t count = 99;
    EXPECT_EQ(serial.Read(buffer, 4, &count, nullptr, CSerial::kInfinite), ERROR_INVALID_HANDLE);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(serial.SetLine(9600, 8, 0, 0), ERROR_INVALID_HANDLE);
    EXPECT_EQ(serial.Close(), 0);
    EXPECT_EQ(serial.Open("\\\\.\\COM251", 0, 0, true), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(serial.GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(serial.IsOpen());
}

TEST_F(SerialOnAPort, OpensNonBlockingAndRefusesASecondOpen) {
    ASSERT_EQ(m_serial.Open(PortUnderTest(), 0, 0, true), 0);
    char reply[9];
    uint32_t count = 99;
    EXPECT_EQ(m_serial.Read(reply, sizeof reply, &count, nullptr, CSerial::kInfinite), 0);
    EXPECT_EQ(count, 0u) << "nothing was asked, so nothing has arrived";
    EXPECT_EQ(m_serial.Open(PortUnderTest(), 0, 0, true), CSerial::kAlreadyOpen);
    EXPECT_TRUE(m_serial.IsOpen());
}

TEST_F(SerialOnAPort, LineSettingsAndModesAreTakenOrRefused) {
    ASSERT_EQ(m_serial.Open(PortUnderTest(), 0, 0, true), 0);
    EXPECT_EQ(m_serial.SetLine(19200, 8, 0, 2), 0);
    EXPECT_EQ(m_serial.SetReadMode(5), CSerial::kInvalidMode);
}

TEST_F(SerialOnAPort, ABlockingReadTimesOutAndAPortWithoutOverlappedRefusesTimeOuts) {
    ASSERT_EQ(m_serial.Open(PortUnderTest(), 0, 0, true), 0);
    ASSERT_EQ(m_serial.SetReadMode(1), 0);
    char reply[9];
    uint32_t count = 99;
    EXPECT_EQ(m_serial.Read(reply, sizeof reply, &count, nullptr, 100), CSerial::kTimedOut);
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(m_serial.SetReadMode(0), 0);
    EXPECT_EQ(m_serial.Read(reply, sizeof reply, &count, nullptr, CSerial::kInfinite), 0)
        << "the cancelled read leaves the port usable";
    EXPECT_EQ(m_serial.Close(), 0);
    ASSERT_EQ(m_serial.Open(PortUnderTest(), 0, 0, false), 0);
    EXPECT_EQ(m_serial.Read(reply, sizeof reply, nullptr, nullptr, 100), CSerial::kNoOverlappedSupport);
}
