#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "CRawHost.h"
#include "sim/CVirtualSensor.h"
#include "support/CDeviceSandbox.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kNewerClass = "{00873FDF-61A8-11D1-AA5E-00C04FB1728B}";
constexpr const char* kOlderClass = "{EC347E99-6664-4F1F-817D-5317C226BDC1}";
const std::vector<uint8_t> kIdentity = {'[', 'D', ',', 10, 0, 0, 0, ']', 0x0D};

bool IsFifo(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

class CSensorLinkTest : public ::testing::Test {
protected:
    CDeviceSandbox m_devices;

    VirtualSensorConfig Named(const char* device) {
        VirtualSensorConfig config;
        config.usbDeviceName = device;
        return config;
    }
};
} // namespace

TEST_F(CSensorLinkTest, SerialTakesTheFirstFreeNumberAndCleansUp) {
    CVirtualSensor first(VirtualSensorConfig{});
    CVirtualSensor second(VirtualSensorConfig{});
    EXPECT_EQ(first.StartSerial(), 5);
    EXPECT_EQ(second.StartSerial(), 6);
    EXPECT_EQ(first.PublishedPath(), m_devices.PortLink(5));
    EXPECT_EQ(first.StartSerial(), -1) << "one link per sensor";

    first.Stop();
    second.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_devices.PortLink(5))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_devices.PortLink(6))));
}

TEST_F(CSensorLinkTest, SerialRefusesATakenNumberButReclaimsAStaleOne) {
    CVirtualSensor owner(VirtualSensorConfig{});
    ASSERT_EQ(owner.StartSerial(9), 9);
    CVirtualSensor intruder(VirtualSensorConfig{});
    EXPECT_EQ(intruder.StartSerial(9), -1);
    EXPECT_NE(intruder.LastError().find("COM9"), std::string::npos);

    ASSERT_EQ(symlink("/dev/pts/does-not-exist", m_devices.PortLink(12).c_str()), 0);
    CVirtualSensor heir(VirtualSensorConfig{});
    EXPECT_EQ(heir.StartSerial(12), 12);
    EXPECT_NE(fs::read_symlink(m_devices.PortLink(12)), "/dev/pts/does-not-exist");
}

TEST_F(CSensorLinkTest, SerialHostMayCloseAndReopen) {
    CVirtualSensor sensor(VirtualSensorConfig{});
    const int com = sensor.StartSerial();
    for (int round = 0; round < 3; ++round) {
        CRawHost host(CRawHost::Kind::Serial, m_devices.PortLink(com));
        ASSERT_TRUE(host.IsOpen());
        EXPECT_EQ(host.Exchange(CRawHost::Plain("GD"), 9), kIdentity) << "round " << round;
    }
    EXPECT_TRUE(sensor.IsLinkUp());
}

TEST_F(CSensorLinkTest, NewerUsbPublishesTwoPipes) {
    CVirtualSensor sensor(Named("unit"));
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    const std::string device = m_devices.UsbDir() + "/" + kNewerClass + "/unit";
    EXPECT_EQ(sensor.PublishedPath(), device);
    EXPECT_TRUE(IsFifo(device + "/PIPE01"));
    EXPECT_TRUE(IsFifo(device + "/PIPE00"));
    for (int round = 0; round < 2; ++round) {
        CRawHost host(CRawHost::Kind::UsbPipes, device);
        EXPECT_EQ(host.Exchange(CRawHost::Plain("GD"), 9), kIdentity) << "round " << round;
        EXPECT_EQ(host.Exchange(CRawHost::Plain("GK"), 1536).size(), 1536u);
    }
    sensor.Stop();
    EXPECT_FALSE(fs::exists(device));
}

TEST_F(CSensorLinkTest, OlderUsbServesOneSocketHostAfterAnother) {
    CVirtualSensor sensor(Named("unit"));
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Older)) << sensor.LastError();
    const std::string device = m_devices.UsbDir() + "/" + kOlderClass + "/unit";
    EXPECT_EQ(sensor.PublishedPath(), device);
    for (int round = 0; round < 2; ++round) {
        CRawHost host(CRawHost::Kind::UsbSocket, device);
        ASSERT_TRUE(host.IsOpen());
        EXPECT_EQ(host.Exchange(CRawHost::Plain("GD"), 9), kIdentity) << "round " << round;
    }
    sensor.SetFault({SensorFault::Disconnect, 0});
    CRawHost host(CRawHost::Kind::UsbSocket, device);
    host.Send(CRawHost::Plain("GD"));
    EXPECT_TRUE(host.LinkEnded());
    ASSERT_TRUE(sensor.WaitForCommands(3, 2000));
    EXPECT_FALSE(fs::exists(device));
}

TEST_F(CSensorLinkTest, UsbRefusesADeviceNameInUse) {
    CVirtualSensor first(Named("twin"));
    CVirtualSensor second(Named("twin"));
    ASSERT_TRUE(first.StartUsb(UsbVariant::Older));
    EXPECT_FALSE(second.StartUsb(UsbVariant::Older));
    EXPECT_FALSE(second.LastError().empty());
    second.Stop();
    EXPECT_TRUE(fs::exists(first.PublishedPath() + "/ENDPOINT")) << "the loser removes nothing of the winner";
}
