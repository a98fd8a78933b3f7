#include "protocol/CSensorLine.h"
#include "device/CSerialDevice.h"
#include "device/CUsbDevice.h"
#include "model/CModelTable.h"
#include "protocol/ReplyKind.h"
#include "sim/CVirtualSensor.h"

#include "support/CDeviceSandbox.h"

#include <gtest/gtest.h>

#include <memory>

using Failure = CSensorLine::Failure;

// The line driven straight from the test over the real transports, the virtual sensor answering
// on the USB pipes or on a pseudo-terminal registered as a COM port.
class SensorLineTest : public ::testing::Test {
protected:
    static VirtualSensorConfig Config(int model) {
        VirtualSensorConfig config;
        config.modelNumber = model;
        return config;
    }

    // Starts a sensor on the USB pipes and puts the line over them.
    bool StartUsb(const VirtualSensorConfig& config) {
        m_sensor = std::make_unique<CVirtualSensor>(config);
        return m_sensor->StartUsb(UsbVariant::Newer) && Attach(std::make_unique<CUsbDevice>(), 0);
    }

    bool Attach(std::unique_ptr<CPowerDevice> device, int32_t port) {
        m_device = std::move(device);
        m_line.SetDevice(m_device.get());
        return m_device->Open(port);
    }

    CDeviceSandbox m_devices;
    std::unique_ptr<CVirtualSensor> m_sensor;
    std::unique_ptr<CPowerDevice> m_device;
    CSensorLine m_line;
};

TEST_F(SensorLineTest, EachCommandReturnsWhatTheSensorAnswered) {
    const VirtualSensorConfig config = Config(5);
    ASSERT_TRUE(StartUsb(config));
    EXPECT_EQ(m_line.ReadIdentificationCode().value, CModelTable::FindByNumber(5)->code);
    EXPECT_EQ(m_line.ReadFirmwareVersion().value, config.firmwareVersion);
    EXPECT_EQ(m_line.ReadSerialNumber().value, config.serialNumber);

    // The simulated signal: 40 dBm forward, 20 dB less back, its peaks 8 dB above (in 0.01 dBm).
    const auto powers = m_line.ReadForwardReverse(245000, 500);
    ASSERT_TRUE(powers.Ok());
    EXPECT_NEAR(powers.value[0], 4000, 30);
    EXPECT_NEAR(powers.value[1], 2000, 30);
    EXPECT_EQ(m_sensor->LastArgument("GE"), 245000);
    const auto average = m_line.ReadShort("GA", 245000, 500);
    EXPECT_EQ(average.value.kind, ReplyReading);
    EXPECT_NEAR(average.value.value, 4000, 30);
    const auto peak = m_line.ReadSelectedPeak(245000, 500);
    ASSERT_TRUE(peak.Ok());
    EXPECT_GT(peak.value, 4400);

    // The pulse reply carries the period code last set.
    EXPECT_EQ(m_line.Acknowledge("SU", 8, 2000), Failure::None);
    const auto pulse = m_line.ReadPulse(245000, 500);
    ASSERT_TRUE(pulse.Ok());
    EXPECT_EQ(pulse.value[4], 8);

    // The logging status tells the channels of the run last started in word 0.
    EXPECT_EQ(m_line.Acknowledge("AM", 0x05, 500), Failure::None);
    EXPECT_EQ(m_line.Acknowledge("AR", 1, 500), Failure::None);
    const auto status = m_line.ReadLoggingStatus();
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.value[0], 0x05);
}

TEST_F(SensorLineTest, HistogramOfEachFirmwareFormatDecodes) {
    for (int32_t firmware : {290, 293, 295}) {
        SCOPED_TRACE(firmware);
        VirtualSensorConfig config = Config(5);
        config.firmwareVersion = firmware;
        ASSERT_TRUE(StartUsb(config));
        const auto histogram = m_line.ReadHistogram(245000, static_cast<uint32_t>(firmware), 0);
        ASSERT_TRUE(histogram.Ok());
        EXPECT_FALSE(histogram.value.empty());
        EXPECT_EQ(m_sensor->LastArgument("GC"), 245000);
    }
}

TEST_F(SensorLineTest, FailuresAreNamedAndSplitRepliesStillCount) {
    ASSERT_TRUE(StartUsb(Config(0)));
    m_sensor->SetFault({SensorFault::Split, 2});
    EXPECT_TRUE(m_line.ReadShort("GA", 245000, 500).Ok());
    for (SensorFault fault : {SensorFault::CorruptByte, SensorFault::WrongHead}) {
        m_sensor->SetFault({fault, -1});
        EXPECT_EQ(m_line.ReadShort("GA", 245000, 500).failure, Failure::BadReply);
        EXPECT_EQ(m_line.Acknowledge("SZ", 4, 500), Failure::BadReply);
    }
    m_sensor->SetFault({SensorFault::Silence, 0});
    EXPECT_EQ(m_line.ReadPulse(245000, 100).failure, Failure::NoReply);
    m_sensor->SetFault({SensorFault::Disconnect, 0});
    EXPECT_EQ(m_line.ReadSerialNumber().failure, Failure::PortGone);
}

TEST_F(SensorLineTest, TheRestOfAnAbandonedReplyDoesNotSpoilTheNextCommand) {
    VirtualSensorConfig config = Config(5);
    config.pace = true; // the download keeps arriving after the line gave up on it
    m_sensor = std::make_unique<CVirtualSensor>(config);
    const int port = m_sensor->StartSerial();
    ASSERT_GT(port, 0) << m_sensor->LastError();
    auto device = std::make_unique<CSerialDevice>();
    device->SetWritePauseMs(0); // the virtual sensor needs no pause; keeps the test short
    ASSERT_TRUE(Attach(std::move(device), port));

    const int32_t blocks = 4; // about two seconds of bytes at the line's pace
    const auto download = m_line.DownloadLoggedData({0x01, 100, blocks * 512, blocks, 1000});
    EXPECT_EQ(download.failure, Failure::NoReply);
    EXPECT_EQ(m_line.ReadIdentificationCode().value, CModelTable::FindByNumber(5)->code);
}
