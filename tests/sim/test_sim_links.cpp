#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "CRawHost.h"
#include "SimTestDirectory.h"
#include "sim/CSimOptions.h"
#include "sim/CVirtualSensor.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kNewerClass = "{00873FDF-61A8-11D1-AA5E-00C04FB1728B}";
constexpr const char* kOlderClass = "{EC347E99-6664-4F1F-817D-5317C226BDC1}";
const std::vector<uint8_t> kIdentity = {'[', 'D', ',', 10, 0, 0, 0, ']', 0x0D};

bool IsFifo(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

class SimLinkTest : public SimTestDirectory {
protected:
    VirtualSensorConfig Named(const char* device) {
        VirtualSensorConfig config;
        config.usbDeviceName = device;
        return config;
    }
};
} // namespace

TEST_F(SimLinkTest, SerialTakesTheFirstFreeNumberAndCleansUp) {
    CVirtualSensor first(VirtualSensorConfig{});
    CVirtualSensor second(VirtualSensorConfig{});
    EXPECT_EQ(first.StartSerial(), 5);
    EXPECT_EQ(second.StartSerial(), 6);
    EXPECT_EQ(first.PublishedPath(), ComLink(5));
    EXPECT_EQ(first.StartSerial(), -1) << "one link per sensor";

    first.Stop();
    second.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(ComLink(5))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(ComLink(6))));
}

TEST_F(SimLinkTest, SerialRefusesATakenNumberButReclaimsAStaleOne) {
    CVirtualSensor owner(VirtualSensorConfig{});
    ASSERT_EQ(owner.StartSerial(9), 9);
    CVirtualSensor intruder(VirtualSensorConfig{});
    EXPECT_EQ(intruder.StartSerial(9), -1);
    EXPECT_NE(intruder.LastError().find("COM9"), std::string::npos);

    ASSERT_EQ(symlink("/dev/pts/does-not-exist", ComLink(12).c_str()), 0);
    CVirtualSensor heir(VirtualSensorConfig{});
    EXPECT_EQ(heir.StartSerial(12), 12);
    EXPECT_NE(fs::read_symlink(ComLink(12)), "/dev/pts/does-not-exist");
}

TEST_F(SimLinkTest, SerialHostMayCloseAndReopen) {
    CVirtualSensor sensor(VirtualSensorConfig{});
    const int com = sensor.StartSerial();
    for (int round = 0; round < 3; ++round) {
        CRawHost host(CRawHost::Kind::Serial, ComLink(com));
        ASSERT_TRUE(host.IsOpen());
        EXPECT_EQ(host.Exchange(CRawHost::Plain("GD"), 9), kIdentity) << "round " << round;
    }
    EXPECT_TRUE(sensor.IsLinkUp());
}

TEST_F(SimLinkTest, NewerUsbPublishesTwoPipes) {
    CVirtualSensor sensor(Named("unit"));
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    const std::string device = UsbDirectory() + "/" + kNewerClass + "/unit";
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

TEST_F(SimLinkTest, OlderUsbServesOneSocketHostAfterAnother) {
    CVirtualSensor sensor(Named("unit"));
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Older)) << sensor.LastError();
    const std::string device = UsbDirectory() + "/" + kOlderClass + "/unit";
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

TEST_F(SimLinkTest, UsbRefusesADeviceNameInUse) {
    CVirtualSensor first(Named("twin"));
    CVirtualSensor second(Named("twin"));
    ASSERT_TRUE(first.StartUsb(UsbVariant::Older));
    EXPECT_FALSE(second.StartUsb(UsbVariant::Older));
    EXPECT_FALSE(second.LastError().empty());
    second.Stop();
    EXPECT_TRUE(fs::exists(first.PublishedPath() + "/ENDPOINT")) << "the loser removes nothing of the winner";
}

TEST(SimOptionsTest, ParsesTheCommandLine) {
    CSimOptions options;
    std::string error;
    ASSERT_TRUE(options.Parse({"--code", "13", "--serial", "42", "--firmware", "291", "--usb", "older",
                               "--level", "-12.5", "--fault", "split:20", "--pace", "--log-speed", "0"},
                              error))
        << error;
    EXPECT_EQ(options.config.modelNumber, 8);
    EXPECT_EQ(options.config.identificationCode, 13);
    EXPECT_EQ(options.config.serialNumber, 42);
    EXPECT_EQ(options.config.firmwareVersion, 291);
    EXPECT_TRUE(options.usb);
    EXPECT_EQ(options.usbVariant, UsbVariant::Older);
    EXPECT_DOUBLE_EQ(options.config.signal.levelDbm, -12.5);
    EXPECT_EQ(options.config.fault.kind, SensorFault::Split);
    EXPECT_EQ(options.config.fault.argument, 20);
    EXPECT_TRUE(options.config.pace);
    EXPECT_EQ(options.config.loggingSpeedUp, 0.0);

    CSimOptions terminating;
    ASSERT_TRUE(terminating.Parse({"--model", "1", "--usb"}, error));
    EXPECT_EQ(terminating.usbVariant, UsbVariant::Newer);
    EXPECT_DOUBLE_EQ(terminating.config.signal.levelDbm, 0.0) << "terminating sensors default to 0 dBm";
}

TEST(SimOptionsTest, RejectsBadValues) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--model", "7"},
                                               {"--model"},
                                               {"--port", "0"},
                                               {"--level", "high"},
                                               {"--fault", "melt"},
                                               {"--fault", "silence:-1"},
                                               {"--log-speed", "-2"},
                                               {"--serial", "12x"},
                                               {"--bogus", "1"}}) {
        CSimOptions options;
        std::string error;
        EXPECT_FALSE(options.Parse(arguments, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}
