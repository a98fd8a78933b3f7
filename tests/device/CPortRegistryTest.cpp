#include "device/CPortRegistry.h"
#include "device/CEnumPorts.h"
#include "device/CSerial.h"
#include "platform/TraceSink.h"
#include "support/CDeviceSandbox.h"
#include "support/CPseudoTerminal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
std::string LinkTarget(const CDeviceSandbox& sandbox, int port) {
    std::error_code error;
    return fs::read_symlink(sandbox.PortsDir() + "/com" + std::to_string(port), error).string();
}

struct Listed {
    int port;
    std::string name;
    bool operator==(const Listed&) const = default;
};

std::vector<Listed> ListPorts() {
    TraceSink trace;
    CEnumPorts ports(trace);
    std::vector<Listed> listed;
    char name[1024];
    for (int i = 0; i < ports.GetCounts(); ++i) {
        const int port = ports.GetPort(i, name, sizeof name);
        listed.push_back({port, name});
    }
    return listed;
}

void PrintTo(const Listed& listed, std::ostream* out) {
    *out << listed.port << " " << listed.name;
}

class PortRegistry : public ::testing::Test {
protected:
    CDeviceSandbox m_sandbox;
    CPseudoTerminal m_uart;
    CPseudoTerminal m_adapterA;
    CPseudoTerminal m_adapterB;
};

TEST_F(PortRegistry, UartsTakeTheLowNumbersWhenTheDriverSeesThem) {
    m_sandbox.LinkInRoot("dev/ttyS0", m_uart.SlavePath());
    m_sandbox.WriteInRoot("sys/class/tty/ttyS0/type", "4\n");
    m_sandbox.LinkInRoot("dev/ttyS1", m_adapterA.SlavePath());
    m_sandbox.WriteInRoot("sys/class/tty/ttyS1/type", "0\n");
    ASSERT_TRUE(CPortRegistry::Refresh());
    EXPECT_EQ(LinkTarget(m_sandbox, 1), m_sandbox.RootDir() + "/dev/ttyS0");
    EXPECT_EQ(LinkTarget(m_sandbox, 2), "");
    EXPECT_EQ(CPortRegistry::Describe(1), "Communications Port");
}

TEST_F(PortRegistry, UsbAdaptersKeepTheirNumbersAcrossRuns) {
    m_sandbox.LinkInRoot("dev/serial/by-id/usb-Maker_B", m_adapterB.SlavePath());
    ASSERT_TRUE(CPortRegistry::Refresh());
    EXPECT_EQ(LinkTarget(m_sandbox, 5), m_sandbox.RootDir() + "/dev/serial/by-id/usb-Maker_B");

    // Unplugged and plugged in again beside a new adapter: B stays COM5, A gets the next number.
    CPortRegistry::Unregister(5);
    m_sandbox.LinkInRoot("dev/serial/by-id/usb-Maker_A", m_adapterA.SlavePath());
    ASSERT_TRUE(CPortRegistry::Refresh());
    EXPECT_EQ(LinkTarget(m_sandbox, 5), m_sandbox.RootDir() + "/dev/serial/by-id/usb-Maker_B");
    EXPECT_EQ(LinkTarget(m_sandbox, 6), m_sandbox.RootDir() + "/dev/serial/by-id/usb-Maker_A");
    EXPECT_EQ(CPortRegistry::Describe(6), "USB Serial Port");
}

TEST_F(PortRegistry, DevicesSkipNumbersThatAreTakenOrPromised) {
    m_sandbox.RegisterPort(6, m_uart.SlavePath());
    std::ofstream(m_sandbox.PortsDir() + "/" + CPortRegistry::kMapFileName)
        << "garbage\n=3\nusb-X=5\nusb-Y=x\n";
    EXPECT_EQ(CPortRegistry::RegisterDevice(m_adapterA.SlavePath()), 7);
    EXPECT_EQ(CPortRegistry::Describe(7), "Virtual Serial Port");
    CPortRegistry::Unregister(7);
    EXPECT_FALSE(CPortRegistry::IsPresent(7));
}

TEST_F(PortRegistry, UnregisteredLowPortsFallBackToTheUarts) {
    EXPECT_EQ(CPortRegistry::DevicePath(2), m_sandbox.RootDir() + "/dev/ttyS1");
    EXPECT_EQ(CPortRegistry::DevicePath(5), m_sandbox.PortsDir() + "/com5");
    m_sandbox.RegisterPort(2, m_uart.SlavePath());
    EXPECT_EQ(CPortRegistry::DevicePath(2), m_sandbox.PortsDir() + "/com2");
}

TEST_F(PortRegistry, EnumerationListsPresentPortsInOrderWithDescriptions) {
    m_sandbox.LinkInRoot("dev/ttyS0", m_uart.SlavePath());
    m_sandbox.LinkInRoot("dev/serial/by-id/usb-Maker_A", m_adapterA.SlavePath());
    m_sandbox.RegisterPort(12, m_adapterB.SlavePath());
    m_sandbox.RegisterPort(9, "/nonexistent/tty");
    fs::create_symlink(m_adapterB.SlavePath(), m_sandbox.PortsDir() + "/COMX");
    fs::create_symlink(m_adapterB.SlavePath(), m_sandbox.PortsDir() + "/com");
    fs::create_symlink(m_adapterB.SlavePath(), m_sandbox.PortsDir() + "/lpt1");
    std::ofstream(m_sandbox.PortsDir() + "/com30") << "not a device";

    const std::vector<Listed> expected = {{1, "Communications Port (COM1)"},
                                          {5, "USB Serial Port (COM5)"},
                                          {12, "Virtual Serial Port (COM12)"}};
    EXPECT_EQ(ListPorts(), expected);
}

TEST_F(PortRegistry, UpperCaseEntriesAreAccepted) {
    m_sandbox.RegisterPort(3, m_uart.SlavePath());
    fs::rename(m_sandbox.PortsDir() + "/com3", m_sandbox.PortsDir() + "/COM3");
    const std::vector<Listed> expected = {{3, "Virtual Serial Port (COM3)"}};
    EXPECT_EQ(ListPorts(), expected);
}

TEST(PortProbing, WithoutAPortsDirectoryEveryOpenablePortCountsEvenWhenBusy) {
    CDeviceSandbox sandbox;
    std::ofstream(sandbox.Path() + "/file") << "blocks the ports directory";
    setenv("PELMORA_PORTS_DIR", (sandbox.Path() + "/file/ports").c_str(), 1);
    CPseudoTerminal free;
    CPseudoTerminal busy;
    sandbox.LinkInRoot("dev/ttyS0", free.SlavePath());
    sandbox.LinkInRoot("dev/ttyS1", busy.SlavePath());
    sandbox.LinkInRoot("dev/ttyS2", "/nonexistent/tty");
    CSerial holder;
    ASSERT_EQ(holder.Open(busy.SlavePath(), 0, 0, true), 0);

    const std::vector<Listed> expected = {{1, "COM1"}, {2, "COM2"}};
    EXPECT_EQ(ListPorts(), expected);
}

TEST(EnumPorts, LookUpsAreBounded) {
    CDeviceSandbox sandbox;
    CPseudoTerminal terminal;
    sandbox.RegisterPort(12, terminal.SlavePath());
    TraceSink trace;
    CEnumPorts ports(trace);
    ASSERT_EQ(ports.GetCounts(), 1);
    EXPECT_EQ(ports.GetPort(-1, nullptr, 0), -1);
    EXPECT_EQ(ports.GetPort(1, nullptr, 0), -1);
    EXPECT_EQ(ports.GetPort(0, nullptr, 0), 12);
    char name[8];
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(ports.GetPort(0, name, 8), 12);
    EXPECT_STREQ(name, "Virtual");
}

TEST(EnumPorts, NumericTextIsDigitsAndOptionallyColons) {
    EXPECT_TRUE(CEnumPorts::IsNumeric("12", false));
    EXPECT_FALSE(CEnumPorts::IsNumeric("", false));
    EXPECT_FALSE(CEnumPorts::IsNumeric("X", false));
    EXPECT_FALSE(CEnumPorts::IsNumeric("1:2", false));
    EXPECT_TRUE(CEnumPorts::IsNumeric("1:2", true));
    EXPECT_FALSE(CEnumPorts::IsNumeric("-1", true));
}
} // namespace
