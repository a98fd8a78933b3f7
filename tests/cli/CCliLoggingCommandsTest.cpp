#include "cli/CCliLoggingCommands.h"
#include "cli/CCliDispatcher.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "platform/CAppPaths.h"
#include "sim/CVirtualSensor.h"

#include "support/CDeviceSandbox.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class CliLoggingTest : public ::testing::Test {
protected:
    void SetUp() override {
        CAppPaths::OverrideExecutableDirectory(m_devices.Path()); // the profile files go here
        m_dispatcher.Add(CCliLoggingCommands::Commands());
    }

    void TearDown() override { CAppPaths::OverrideExecutableDirectory(""); }

    int Run(const std::vector<std::string>& commandLine) {
        m_out.str("");
        m_err.str("");
        return m_dispatcher.Run(commandLine, m_out, m_err);
    }

    CDeviceSandbox m_devices;
    CCliDispatcher m_dispatcher;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace

TEST_F(CliLoggingTest, StartRefusesWhatThePageRefusesBeforeTouchingTheSensor) {
    const auto refusal = [this](const std::string& interval, const std::string& runTime,
                                const std::string& channels) {
        EXPECT_EQ(
            Run({"logging", "start", "--interval", interval, "--runtime", runTime, "--channels", channels}),
            1);
        return m_err.str();
    };
    EXPECT_NE(refusal("19", "600", "avg,rev").find("Invalid Interval Range ( 20 <= sec <= 3600 )"),
              std::string::npos);
    EXPECT_NE(refusal("60", "9", "avg").find("Invalid Logging Count Range"), std::string::npos);
    EXPECT_NE(refusal("60", "5761", "avg").find("Invalid Runtime Range ( Max : 96 hrs )"), std::string::npos);
    EXPECT_NE(refusal("99999999999", "600", "avg").find("bad interval"), std::string::npos);
    EXPECT_NE(refusal("60", "600", "avg,vswr").find("bad channels"), std::string::npos);
    // Valid values reach the connect, which finds no sensor.
    EXPECT_NE(refusal("60", "600", "avg").find("the port did not open"), std::string::npos);
    // A title the history file cannot hold names the characters before anything is downloaded.
    EXPECT_EQ(Run({"logging", "download", "--out", "x.psh", "--title", "50 \xCE\xA9 load"}), 1);
    EXPECT_NE(m_err.str().find("\xCE\xA9"), std::string::npos) << m_err.str();
    EXPECT_EQ(m_err.str().find("the port did not open"), std::string::npos) << m_err.str();
}

TEST_F(CliLoggingTest, StartStatusDownloadAndEraseWithTheVirtualSensor) {
    VirtualSensorConfig config;
    config.loggingSpeedUp = 0;
    CVirtualSensor sensor(config);
    ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();

    EXPECT_EQ(Run({"logging", "start", "--interval", "20", "--runtime", "10", "--channels", "avg,rev",
                   "--freq", "99999"}),
              1);
    ASSERT_EQ(Run({"logging", "start", "--interval", "20", "--runtime", "10", "--channels", "avg,rev",
                   "--freq", "2450.7"}),
              0)
        << m_err.str();
    EXPECT_EQ(m_out.str(), "logging 30 records every 20 s at 2450 MHz\n");
    ASSERT_EQ(Run({"logging", "clear"}), 0) << m_err.str();
    ASSERT_EQ(Run({"logging", "status"}), 0) << m_err.str();
    EXPECT_NE(m_out.str().find("channels 0x05\nheld 0\nsamples 60\n"), std::string::npos) << m_out.str();

    const std::string path = m_devices.Path() + "/logged.psh";
    ASSERT_EQ(Run({"logging", "download", "--out", path, "--title", "night"}), 0) << m_err.str();
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, data).ok);
    EXPECT_EQ(data.Header().Mask(), 0x05);
    EXPECT_EQ(data.RowCount(), 30);

    ASSERT_EQ(Run({"logging", "erase"}), 0) << m_err.str();
    EXPECT_EQ(Run({"logging", "download", "--out", path}), 1);
    EXPECT_FALSE(m_err.str().empty());
}
