#include "cli/CCliRecordCommand.h"
#include "cli/CCliCcdfCommand.h"
#include "cli/CCliDeviceCommands.h"
#include "cli/CCliDispatcher.h"
#include "cli/CCliNotices.h"
#include "cli/CCliOptions.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/HistoryChannel.h"
#include "platform/CAppPaths.h"
#include "sim/CVirtualSensor.h"

#include "support/CDeviceSandbox.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class CCliRecordCommandTest : public ::testing::Test {
protected:
    void SetUp() override { CAppPaths::OverrideExecutableDirectory(m_devices.Path()); } // profiles go here
    void TearDown() override { CAppPaths::OverrideExecutableDirectory(""); }

    int Record(const std::vector<std::string>& arguments) {
        m_out.str("");
        m_err.str("");
        const CliContext context{arguments, m_out, m_err};
        return CCliRecordCommand::Commands().front().run(context);
    }

    CHistoryData RecordFrom(int model, int count) {
        VirtualSensorConfig config;
        config.modelNumber = model;
        CVirtualSensor sensor(config);
        EXPECT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
        const std::string path = m_devices.Path() + "/record.psh";
        EXPECT_EQ(Record({"--port", "usb", "--count", std::to_string(count), "--out", path}), 0)
            << m_err.str();
        sensor.Stop();
        CHistoryData data;
        EXPECT_TRUE(CHistoryFile::LoadHistory(path, data).ok);
        return data;
    }

    CDeviceSandbox m_devices;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace

TEST_F(CCliRecordCommandTest, DirectionalSensorSavesAvgPeakAndVswr) {
    const CHistoryData data = RecordFrom(0, 3);
    EXPECT_EQ(data.Header().Mask(), 0x13);
    ASSERT_EQ(data.RowCount(), 3);
    for (int row = 0; row < data.RowCount(); ++row) {
        EXPECT_NEAR(data.Value(row, ChannelAvg), 40.0, 0.5);
        EXPECT_NEAR(data.Value(row, ChannelPeak), 48.0, 0.5);
        EXPECT_NEAR(data.Value(row, ChannelVswr), 1.23, 0.02);
    }
}

TEST_F(CCliRecordCommandTest, PeakOnlySensorSavesThePeakChannel) {
    const CHistoryData data = RecordFrom(3, 2);
    EXPECT_EQ(data.Header().Mask(), 0x02);
    EXPECT_EQ(data.RowCount(), 2);
}

TEST_F(CCliRecordCommandTest, Model5StoresCorrectedForwardPower) {
    const CHistoryData data = RecordFrom(5, 2);
    EXPECT_EQ(data.Header().Mask(), 0x13);
    ASSERT_EQ(data.RowCount(), 2);
    // The profile's default technology takes no correction.
    EXPECT_NEAR(data.Value(0, ChannelAvg), 40.0, 0.5);
    EXPECT_NEAR(data.Value(1, ChannelVswr), 1.23, 0.02);
}

TEST_F(CCliRecordCommandTest, RefusesBadOptionsAndAMissingSensor) {
    EXPECT_EQ(Record({"--port", "0", "--count", "3", "--out", m_devices.Path() + "/a.psh"}), 2);
    EXPECT_EQ(Record({"--port", "usb", "--count", "-1", "--out", m_devices.Path() + "/a.psh"}), 2);
    EXPECT_EQ(Record({"--port", "usb", "--count", "3", "--size", "x"}), 2);
    EXPECT_EQ(Record({"--port", "9", "--count", "3", "--out", m_devices.Path() + "/a.psh"}), 1);
    EXPECT_NE(m_err.str().find("did not open"), std::string::npos) << m_err.str();
}

TEST_F(CCliRecordCommandTest, SensorWithAnUnknownCodeIsRefusedNamingTheCode) {
    VirtualSensorConfig config;
    config.identificationCode = 4242;
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    EXPECT_EQ(Record({"--port", "usb", "--count", "3", "--out", m_devices.Path() + "/a.psh"}), 1);
    EXPECT_NE(m_err.str().find("4242"), std::string::npos) << m_err.str();
    m_err.str("");
    CCliDispatcher dispatcher;
    dispatcher.Add(CCliDeviceCommands::Commands());
    EXPECT_EQ(dispatcher.Run({"identify", "--port", "usb"}, m_out, m_err), 1);
    EXPECT_NE(m_err.str().find("4242"), std::string::npos) << m_err.str();
}

// A mode the model's screens never ask for gets no answer from the sensor: named at once,
// with the modes it has, instead of three silent exchanges.
TEST_F(CCliRecordCommandTest, MeasureRefusesAModeTheModelDoesNotHave) {
    CVirtualSensor sensor(VirtualSensorConfig{}); // model 5, directional
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    CCliDispatcher dispatcher;
    dispatcher.Add(CCliDeviceCommands::Commands());
    EXPECT_EQ(dispatcher.Run({"measure", "--port", "usb", "--mode", "avg", "--count", "1", "--freq", "100"},
                             m_out, m_err),
              1);
    EXPECT_NE(m_err.str().find("does not measure avg; its modes: fwdrev, peak, pulse"), std::string::npos)
        << m_err.str();
    EXPECT_EQ(
        dispatcher.Run({"measure", "--port", "usb", "--mode", "fwdrev", "--count", "1", "--freq", "100"},
                       m_out, m_err),
        0)
        << m_err.str();
}

// A model without PULSE and CCDF gets nothing beyond its identification before the refusal.
TEST_F(CCliRecordCommandTest, ScreensTheModelLacksAreRefusedAfterIdentification) {
    VirtualSensorConfig config;
    config.modelNumber = 1;
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    CCliDispatcher dispatcher;
    dispatcher.Add(CCliDeviceCommands::Commands());
    ASSERT_EQ(dispatcher.Run({"identify", "--port", "usb"}, m_out, m_err), 0) << m_err.str();
    const uint64_t identification = sensor.CommandsReceived();

    EXPECT_EQ(
        Record({"--port", "usb", "--count", "3", "--out", m_devices.Path() + "/p.psh", "--screen", "pulse"}),
        1);
    EXPECT_NE(m_err.str().find("has no PULSE measurement"), std::string::npos) << m_err.str();
    EXPECT_EQ(sensor.CommandsReceived(), 2 * identification);
    std::ostringstream err;
    EXPECT_EQ(CCliCcdfCommand::Commands().front().run({{"--port", "usb", "--count", "1"}, m_out, err}), 1);
    EXPECT_NE(err.str().find("has no CCDF measurement"), std::string::npos) << err.str();
    EXPECT_EQ(sensor.CommandsReceived(), 3 * identification);
}

// The device commands share the record command's option parser: trailing garbage in a number
// is refused before any sensor is asked.
TEST_F(CCliRecordCommandTest, MeasureRefusesACountWithTrailingGarbage) {
    const std::vector<std::string> arguments = {"--port",  "usb", "--mode", "avg",
                                                "--count", "5x",  "--freq", "100"};
    std::ostringstream out;
    std::ostringstream err;
    CCliDispatcher dispatcher;
    dispatcher.Add(CCliDeviceCommands::Commands());
    std::vector<std::string> commandLine = {"measure"};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(dispatcher.Run(commandLine, out, err), 1);
    EXPECT_NE(err.str().find("bad count '5x'"), std::string::npos);
    EXPECT_EQ(Record({"--port", "usb", "--count", "3", "--out"}), 2);
}

// By hand, from the virtual sensor's noiseless signal: 40 dBm at 12.5 % duty is a pulse of
// 40 + 10 log10(8) = 49.03 dBm (raw 4903); period 4615 us at 1.207 us per count (period code 1)
// gives 478 on-counts of 3824, one pulse. LTE-TDD below 300 MHz: no q, then -0.45 dB.
TEST_F(CCliRecordCommandTest, PulseScreenMatchesAHandComputation) {
    VirtualSensorConfig config;
    config.signal.noiseDb = 0.0;
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
    const std::string path = m_devices.Path() + "/pulse.psh";
    ASSERT_EQ(Record({"--port", "usb", "--count", "3", "--freq", "100", "--tech", "LTE-TDD", "--screen",
                      "pulse", "--out", path}),
              0)
        << m_err.str();
    sensor.Stop();
    const double power = 49.03 - 0.45;
    const double duty = 478.0 / 3824.0 * 100.0;
    const double burst = 478.0 / 1.0 * 1.207;
    char line[64];
    std::snprintf(line, sizeof line, "%.2f %.2f %.3f\n", power, duty, burst);
    EXPECT_EQ(m_out.str(), std::string(line) + line + line);
    EXPECT_EQ(std::string(line), "48.58 12.50 576.946\n");
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, data).ok);
    EXPECT_EQ(data.Header().Mask(), 0x08);
    ASSERT_EQ(data.RowCount(), 3);
    EXPECT_NEAR(data.Value(2, ChannelPulse), power, 1e-6);
}

TEST_F(CCliRecordCommandTest, RefusesBadOverrides) {
    const std::vector<std::string> base = {"--port", "usb",   "--count",
                                           "1",      "--out", m_devices.Path() + "/a.psh"};
    for (const std::vector<std::string>& extra : std::vector<std::vector<std::string>>{{"--screen", "ccdf"},
                                                                                       {"--freq", "0"},
                                                                                       {"--freq", "nan"},
                                                                                       {"--offset", "101"},
                                                                                       {"--tech", "LTE"}}) {
        std::vector<std::string> arguments = base;
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        EXPECT_EQ(Record(arguments), 2) << extra[0] << " " << extra[1];
    }
}

TEST(CCliNoticesTest, AFullRecordIsToldOnTheErrorStream) {
    std::ostringstream err;
    CCliNotices notices(err);
    notices.ShowRecordFull(false); // the record was cleared: nothing to tell
    EXPECT_TRUE(err.str().empty());
    notices.ShowRecordFull(true);
    EXPECT_NE(err.str().find(CCliOptions::Text("S_SCREEN_RECORD_FULL")), std::string::npos);
}
