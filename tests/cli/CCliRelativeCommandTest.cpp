#include "cli/CCliRelativeCommand.h"
#include "cli/CCliRecordCommand.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/HistoryChannel.h"
#include "platform/CAppPaths.h"
#include "sim/CVirtualSensor.h"

#include "support/CDeviceSandbox.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Two virtual sensors at 30 and 40 dBm: A on a COM port, B on the USB layer.
class CCliRelativeCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppPaths::OverrideExecutableDirectory(m_devices.Path());
        m_a = Sensor(30.0, 10001);
        m_b = Sensor(40.0, 10002);
        m_portA = std::to_string(m_a->StartSerial());
        ASSERT_TRUE(m_b->StartUsb(UsbVariant::Newer)) << m_b->LastError();
    }
    void TearDown() override { CAppPaths::OverrideExecutableDirectory(""); }

    static std::unique_ptr<CVirtualSensor> Sensor(double level, int serial) {
        VirtualSensorConfig config;
        config.modelNumber = 0;
        config.serialNumber = serial;
        config.signal.levelDbm = level;
        return std::make_unique<CVirtualSensor>(config);
    }

    int Run(const CliCommand& command, const std::vector<std::string>& arguments) {
        m_out.str("");
        m_err.str("");
        return command.run({arguments, m_out, m_err});
    }

    CDeviceSandbox m_devices;
    std::unique_ptr<CVirtualSensor> m_a;
    std::unique_ptr<CVirtualSensor> m_b;
    std::string m_portA;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace

TEST_F(CCliRelativeCommandTest, PrintsBothSensorsAndTheirDifferenceAndNamesASensorThatFails) {
    const CliCommand relative = CCliRelativeCommand::Commands().front();
    ASSERT_EQ(Run(relative, {"--port", m_portA, "--port", "usb", "--count", "3"}), 0) << m_err.str();
    std::istringstream lines(m_out.str());
    int count = 0;
    for (double a = 0, b = 0, difference = 0; lines >> a >> b >> difference; ++count) {
        EXPECT_NEAR(a, 30.0, 0.5);
        EXPECT_NEAR(b, 40.0, 0.5);
        EXPECT_NEAR(difference, b - a, 0.011);
    }
    EXPECT_EQ(count, 3);

    m_b->Stop();
    EXPECT_NE(Run(relative, {"--port", m_portA, "--port", "usb", "--count", "3"}), 0);
    EXPECT_NE(m_err.str().find("sensor B (usb)"), std::string::npos) << m_err.str();
    EXPECT_NE(Run(relative, {"--port", m_portA, "--count", "3"}), 0) << "two ports are needed";
}

TEST_F(CCliRelativeCommandTest, RecordsSeveralSensorsAtOnceEachIntoItsOwnFile) {
    const std::string out = m_devices.Path() + "/run.psh";
    ASSERT_EQ(Run(CCliRecordCommand::Commands().front(),
                  {"--port", m_portA, "--port", "usb", "--count", "3", "--out", out}),
              0)
        << m_err.str();
    for (const auto& [port, level] : {std::pair{m_portA, 30.0}, std::pair{std::string("usb"), 40.0}}) {
        CHistoryData data;
        ASSERT_TRUE(CHistoryFile::LoadHistory(m_devices.Path() + "/run-" + port + ".psh", data).ok) << port;
        ASSERT_EQ(data.RowCount(), 3);
        EXPECT_NEAR(data.Value(2, ChannelAvg), level, 0.5);
    }
}
