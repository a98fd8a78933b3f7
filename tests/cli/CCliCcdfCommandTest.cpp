#include "cli/CCliCcdfCommand.h"
#include "ccdf/CCcdfAcquisition.h"
#include "platform/CAppPaths.h"
#include "sim/CVirtualSensor.h"

#include "support/CDeviceSandbox.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

// "name argument value" lines (or "name value") by their first two words.
std::map<std::string, double> Values(const std::string& text) {
    std::map<std::string, double> values;
    std::istringstream lines(text);
    std::string name;
    std::string argument;
    while (lines >> name) {
        if (name == "point" || name == "level" || name == "probability") {
            std::string value; // "n/a" for a level too few samples reach
            lines >> argument >> value;
            values[name + " " + argument] = std::strtod(value.c_str(), nullptr);
        } else {
            lines >> values[name];
        }
    }
    return values;
}

} // namespace

TEST(CCliCcdfCommandTest, PrintsTheHandComputedWindow) {
    // Two histograms, in all 20 dBm x2, 10 dBm x8, 0 dBm x90: average 10 log10(3.7) = 5.6820 dBm;
    // the 0 dBm bin lies below it.
    CCcdfAcquisition acquisition;
    const CCcdfAcquisition::SSettings settings{0, false, 7};
    acquisition.Add(0, {{2000, 1}, {1000, 4}, {0, 45}}, settings);
    acquisition.Add(0, {{2000, 1}, {1000, 4}, {0, 45}}, settings);
    std::ostringstream out;
    CCliCcdfCommand::Print(out, acquisition.Result(), acquisition.Result().averagePower);
    EXPECT_EQ(out.str(), "average 5.6820\npeak 20.0000\ncrest 14.3180\nsamples 100\n"
                         "level 10 4.3180\nlevel 1 14.3180\nlevel 0.1 14.3180\nlevel 0.01 14.3180\n"
                         "level 0.001 n/a\n"
                         "probability 20 0.000000\nprobability 16 0.000000\nprobability 12 0.000000\n"
                         "probability 8 0.000000\nprobability 4 3.000000\n"
                         "point 14.3180 -1.698970\npoint 4.3180 -1.000000\n");
}

class CCliCcdfSensorTest : public ::testing::Test {
protected:
    void SetUp() override { CAppPaths::OverrideExecutableDirectory(m_devices.Path()); } // profiles go here
    void TearDown() override { CAppPaths::OverrideExecutableDirectory(""); }

    CDeviceSandbox m_devices;
};

// The sensor's samples follow the distribution of noise 40 dBm on average, clipped 8 dB above.
TEST_F(CCliCcdfSensorTest, EachHistogramFormatGivesTheSignalsDistribution) {
    for (const int32_t firmware : {290, 292, 295}) {
        VirtualSensorConfig config;
        config.firmwareVersion = firmware;
        CVirtualSensor sensor(config);
        ASSERT_TRUE(sensor.StartUsb(UsbVariant::Newer)) << sensor.LastError();
        std::ostringstream out;
        std::ostringstream err;
        const std::string csv = m_devices.Path() + "/ccdf.csv";
        const std::vector<std::string> arguments{"--port", "usb",   "--count", "3",
                                                 "--tech", "EV-DO", "--out",   csv};
        ASSERT_EQ(CCliCcdfCommand::Commands().front().run({arguments, out, err}), 0) << err.str();
        sensor.Stop();

        auto values = Values(out.str());
        EXPECT_EQ(values["samples"], 30000) << firmware;
        EXPECT_NEAR(values["average"], 40.0, 0.5) << firmware;
        EXPECT_NEAR(values["crest"], 8.0, 0.6) << firmware;
        EXPECT_NEAR(values["probability 4"], 8.0, 2.0) << firmware; // noise: 7.91 % at 4 dB
        // The kept file is the screen's: its settings and the same figures.
        const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(csv);
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_NE(text.find("Technology, EV-DO\r\nSampleTarget, 100000\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Samples, 30000\r\n"), std::string::npos) << text;
    }
}

TEST(CCliCcdfCommandTest, RefusesBadOptions) {
    std::ostringstream out;
    std::ostringstream err;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--port", "usb", "--count", "3", "--tech", "5G"},
          {"--port", "usb", "--count", "3", "--rate", "4"},
          {"--port", "usb", "--count", "0"},
          {"--port", "usb", "--count", "2", "--freq", "nan"}})
        EXPECT_EQ(CCliCcdfCommand::Commands().front().run({arguments, out, err}), 2) << arguments[5];
}
