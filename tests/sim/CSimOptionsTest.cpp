#include "sim/CSimOptions.h"

#include <gtest/gtest.h>

TEST(CSimOptionsTest, ParsesTheCommandLine) {
    CSimOptions options;
    std::string error;
    ASSERT_TRUE(
        options.Parse({"--code", "13", "--serial", "42", "--firmware", "291", "--usb", "older", "--level",
                       "-12.5", "--fault-after", "3", "--fault", "split:20", "--pace", "--log-speed", "0"},
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
    EXPECT_EQ(options.config.fault.after, 3);
    EXPECT_TRUE(options.config.pace);
    EXPECT_EQ(options.config.loggingSpeedUp, 0.0);

    CSimOptions terminating;
    ASSERT_TRUE(terminating.Parse({"--model", "1", "--usb"}, error));
    EXPECT_EQ(terminating.usbVariant, UsbVariant::Newer);
    EXPECT_DOUBLE_EQ(terminating.config.signal.levelDbm, 0.0) << "terminating sensors default to 0 dBm";
}

TEST(CSimOptionsTest, RejectsBadValues) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--model", "7"},
                                               {"--model"},
                                               {"--port", "0"},
                                               {"--level", "high"},
                                               {"--fault", "melt"},
                                               {"--fault", "silence:-1"},
                                               {"--fault-after", "-1"},
                                               {"--log-speed", "-2"},
                                               {"--serial", "12x"},
                                               {"--bogus", "1"}}) {
        CSimOptions options;
        std::string error;
        EXPECT_FALSE(options.Parse(arguments, error)) << arguments[0];
        EXPECT_FALSE(error.empty());
    }
}
