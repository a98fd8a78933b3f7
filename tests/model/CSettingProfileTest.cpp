#include "model/CSettingProfile.h"

#include <gtest/gtest.h>

#include "platform/CAppPaths.h"
#include "support/CTempDirectory.h"

class CSettingProfileTest : public testing::Test {
protected:
    void SetUp() override { CAppPaths::OverrideExecutableDirectory(m_directory.Path()); }
    void TearDown() override { CAppPaths::OverrideExecutableDirectory(""); }

    void WriteFile(const std::string& name, const std::string& text) const {
        m_directory.WriteText(name, text);
    }
    std::string ReadFile(const std::string& name) const { return m_directory.ReadText(name); }

    static void ExpectItem(const RangeLimitItem& item, float minimum, float maximum) {
        EXPECT_FLOAT_EQ(item.displayMin, minimum);
        EXPECT_FLOAT_EQ(item.displayMax, maximum);
        EXPECT_FLOAT_EQ(item.lowLimit, minimum);
        EXPECT_FLOAT_EQ(item.highLimit, maximum);
        EXPECT_FALSE(item.limitEnabled);
        EXPECT_FALSE(item.alarmOn);
        EXPECT_EQ(item.beepSound, 0);
    }

    CTempDirectory m_directory;
};

TEST_F(CSettingProfileTest, ConstructsWithModelFiveDefaults) {
    CSettingProfile profile;
    EXPECT_EQ(profile.GetModelNumber(), 5);
    EXPECT_FLOAT_EQ(profile.GetFrequency(), 2400.0f);
    EXPECT_EQ(profile.GetTechnology(), 7);
    EXPECT_EQ(profile.GetAvgRepeat(), 1);
    EXPECT_EQ(profile.GetCcdfRate(), 2);
    EXPECT_EQ(profile.GetDecimalPlaces(), 2);
    EXPECT_EQ(profile.GetLoggingItems(), 15);
    EXPECT_EQ(profile.GetLoggingInterval(), 40);
    EXPECT_EQ(profile.GetLoggingRunTime(), 150);
    EXPECT_FALSE(profile.IsRelativeMode());
    EXPECT_FALSE(profile.IsSingleSweep());
    ExpectItem(profile.GetItem(ChannelAvg), 20.0f, 60.0f);
    ExpectItem(profile.GetItem(ChannelVswr), 1.0f, 2.0f);
    ExpectItem(profile.GetItem(kItemCcdf), 0.0f, 0.0f);
}

TEST_F(CSettingProfileTest, DestructionSavesCurrentModel) {
    {
        CSettingProfile profile;
        profile.SetFrequency(915.5f);
    }
    const std::string text = ReadFile("VL-D530.ini");
    EXPECT_NE(text.find("VL-D530"), std::string::npos);
    CSettingProfile reloaded;
    ASSERT_TRUE(reloaded.Load("VL-D530"));
    EXPECT_FLOAT_EQ(reloaded.GetFrequency(), 915.5f);

    {
        CSettingProfile saved;
        saved.SetDevice(5, 1, 100);
        ASSERT_TRUE(saved.SaveOnExit());
        WriteFile("VL-D530.ini", "written once");
    }
    EXPECT_EQ(ReadFile("VL-D530.ini"), "written once") << "saved on the way out, not again when destroyed";
}

TEST_F(CSettingProfileTest, DefaultsNeverUsedForASensorLeaveAStoredProfileAlone) {
    {
        CSettingProfile used;
        used.SetFrequency(915.5f);
        ASSERT_TRUE(used.Save("VL-D530"));
    }
    { CSettingProfile unused; } // a session that met no sensor
    CSettingProfile reloaded;
    ASSERT_TRUE(reloaded.Load("VL-D530"));
    EXPECT_FLOAT_EQ(reloaded.GetFrequency(), 915.5f);
}

TEST_F(CSettingProfileTest, SaveAndLoadRoundTrip) {
    CSettingProfile original;
    original.SetFrequency(2450.12345f);
    original.SetExtOffset(-12.3456f);
    original.SetRelativeMode(true);
    original.SetSingleSweep(true);
    original.SetDecimalPlaces(1);
    original.SetTechnology(3);
    original.SetAvgRate(4);
    original.SetAvgRepeat(6);
    original.SetPeakRate(2);
    original.SetPulseRate(3);
    original.SetPulseDuty(1);
    original.SetPulseReference(2);
    original.SetCcdfRate(5);
    original.SetLoggingItems(3);
    original.SetLoggingInterval(7);
    original.SetLoggingRunTime(99);
    original.SetDisplayRange(kItemCcdf, -10.5f, 33.25f);
    original.SetLimits(ChannelPulse, 21.0f, 58.0f);
    original.SetLimitEnabled(ChannelPulse, true);
    original.SetAlarmOn(ChannelPulse, true);
    original.SetBeepSound(ChannelPulse, 3);
    ASSERT_TRUE(original.Save("VL-D530"));

    const std::string text = ReadFile("VL-D530.ini");
    EXPECT_NE(text.find("2450.12353516"), std::string::npos) << text; // the float's own digits
    EXPECT_NE(text.find("-12.34560013"), std::string::npos) << text;
#ifndef _WIN32
    // Windows' profile functions drop the leading blanks of the fixed-width field.
    EXPECT_NE(text.find("   2450.12353516"), std::string::npos) << text;
    EXPECT_NE(text.find("    -12.34560013"), std::string::npos) << text;
#endif

    CSettingProfile loaded;
    ASSERT_TRUE(loaded.Load("VL-D530"));
    EXPECT_EQ(loaded.GetFrequency(), original.GetFrequency());
    EXPECT_EQ(loaded.GetExtOffset(), original.GetExtOffset());
    EXPECT_TRUE(loaded.IsRelativeMode());
    EXPECT_TRUE(loaded.IsSingleSweep());
    EXPECT_EQ(loaded.GetDecimalPlaces(), 1);
    EXPECT_EQ(loaded.GetTechnology(), 3);
    EXPECT_EQ(loaded.GetAvgRate(), 4);
    EXPECT_EQ(loaded.GetAvgRepeat(), 6);
    EXPECT_EQ(loaded.GetPeakRate(), 2);
    EXPECT_EQ(loaded.GetPulseRate(), 3);
    EXPECT_EQ(loaded.GetPulseDuty(), 1);
    EXPECT_EQ(loaded.GetPulseReference(), 2);
    EXPECT_EQ(loaded.GetCcdfRate(), 5);
    EXPECT_EQ(loaded.GetLoggingItems(), 3);
    EXPECT_EQ(loaded.GetLoggingInterval(), 7);
    EXPECT_EQ(loaded.GetLoggingRunTime(), 99);
    EXPECT_FLOAT_EQ(loaded.GetItem(kItemCcdf).displayMin, -10.5f);
    EXPECT_FLOAT_EQ(loaded.GetItem(kItemCcdf).displayMax, 33.25f);
    const RangeLimitItem& pulse = loaded.GetItem(ChannelPulse);
    EXPECT_FLOAT_EQ(pulse.lowLimit, 21.0f);
    EXPECT_FLOAT_EQ(pulse.highLimit, 58.0f);
    EXPECT_TRUE(pulse.limitEnabled);
    EXPECT_TRUE(pulse.alarmOn);
    EXPECT_EQ(pulse.beepSound, 3);
}

TEST_F(CSettingProfileTest, MissingOrUnreadableKeysReadAsZero) {
    WriteFile("VL-D530.ini", "[HEADER]\nDEVICE=VL-D530\n[AVG]\nMAXDISP=garbage\nMINDISP=nan\n"
                             "MINLIMIT=1e300\n[PEAK]\nMAXDISP=+12.5xyz\n");
    CSettingProfile profile;
    ASSERT_TRUE(profile.Load("VL-D530"));
    EXPECT_EQ(profile.GetFrequency(), 0.0f);
    EXPECT_EQ(profile.GetAvgRepeat(), 0);
    EXPECT_EQ(profile.GetLoggingItems(), 0);
    EXPECT_EQ(profile.GetItem(ChannelAvg).displayMax, 0.0f);
    EXPECT_EQ(profile.GetItem(ChannelAvg).highLimit, 0.0f);
    EXPECT_EQ(profile.GetItem(ChannelAvg).displayMin, 0.0f);
    EXPECT_EQ(profile.GetItem(ChannelAvg).lowLimit, 0.0f);
    EXPECT_FLOAT_EQ(profile.GetItem(ChannelPeak).displayMax, 12.5f); // leading number counts
}

TEST_F(CSettingProfileTest, ForeignOrMiscasedDeviceIsNotLoaded) {
    for (const char* device : {"vl-d530", "VL-D030", ""}) {
        WriteFile("VL-D530.ini", std::string("[HEADER]\nDEVICE=") + device + "\nFREQUENCY=100\n");
        CSettingProfile profile;
        EXPECT_FALSE(profile.Load("VL-D530")) << device;
        EXPECT_FLOAT_EQ(profile.GetFrequency(), 2400.0f);
    }
    CSettingProfile profile;
    EXPECT_FALSE(profile.Load("VL-T920")); // no file at all
}

TEST_F(CSettingProfileTest, SetDeviceWithoutFileTakesModelRanges) {
    CSettingProfile profile;
    profile.SetFrequency(900.0f);
    profile.SetExtOffset(3.0f);
    profile.SetLimitEnabled(ChannelAvg, true);
    profile.SetDevice(0, 4711, 105);
    EXPECT_EQ(profile.GetModelNumber(), 0);
    EXPECT_EQ(profile.GetSerialText(), "4711");
    EXPECT_EQ(profile.GetFirmwareText(), "1.05");
    EXPECT_FLOAT_EQ(profile.GetFrequency(), 900.0f);
    EXPECT_FLOAT_EQ(profile.GetExtOffset(), 3.0f);
    for (int item : {0, 1, 3, 4, kItemCcdf})
        ExpectItem(profile.GetItem(item), 20.0f, 60.0f);
    ExpectItem(profile.GetItem(ChannelVswr), 1.0f, 2.0f);
}

TEST_F(CSettingProfileTest, SetDeviceLoadsItsModelFile) {
    WriteFile("VL-T420.ini", "[HEADER]\nDEVICE=VL-T420\nFREQUENCY=  1800.00000000\n[VSWR]\nMAXDISP=15\n");
    CSettingProfile profile;
    profile.SetDevice(4, 1, 7);
    EXPECT_FLOAT_EQ(profile.GetFrequency(), 1800.0f);
    EXPECT_FLOAT_EQ(profile.GetItem(ChannelVswr).displayMax, 15.0f);
    EXPECT_EQ(profile.GetFirmwareText(), "7");
}

// Two sensors of one model connected at once: the second keeps a file of its own, started
// from the model's, and neither one's settings reach the other.
TEST_F(CSettingProfileTest, TwoSensorsOfOneModelKeepTheirOwnSettings) {
    WriteFile("VL-T420.ini", "[HEADER]\nDEVICE=VL-T420\nFREQUENCY=  1800.00000000\n");
    {
        CSettingProfile first;
        first.SetDevice(4, 1, 7);
        CSettingProfile second;
        second.KeepOwnFile(true);
        second.SetDevice(4, 2, 7);
        EXPECT_FLOAT_EQ(second.GetFrequency(), 1800.0f) << "starts from the model's settings";
        first.SetFrequency(900.0f);
        second.SetFrequency(2600.0f);
    }
    CSettingProfile first;
    first.SetDevice(4, 1, 7);
    EXPECT_FLOAT_EQ(first.GetFrequency(), 900.0f);
    CSettingProfile second;
    second.KeepOwnFile(true);
    second.SetDevice(4, 2, 7);
    EXPECT_FLOAT_EQ(second.GetFrequency(), 2600.0f);
}

TEST(CSettingProfileFirmwareTest, PointBeforeLastTwoDigits) {
    EXPECT_EQ(CSettingProfile::FirmwareText(7), "7");
    EXPECT_EQ(CSettingProfile::FirmwareText(12), "12");
    EXPECT_EQ(CSettingProfile::FirmwareText(105), "1.05");
    EXPECT_EQ(CSettingProfile::FirmwareText(1234), "12.34");
}

TEST_F(CSettingProfileTest, ModelAndTechnologyNames) {
    CSettingProfile profile;
    EXPECT_EQ(CSettingProfile::TechnologyName(4), "TDS-CDMA");
    EXPECT_EQ(CSettingProfile::TechnologyName(8), "");
    profile.SetModelNumber(7);
    EXPECT_EQ(profile.ModelName(), "");
}

TEST_F(CSettingProfileTest, ItemIndexesOutsideRangeAreHarmless) {
    CSettingProfile profile;
    profile.SetLimits(6, 1.0f, 2.0f);
    profile.SetLimitEnabled(-1, true);
    EXPECT_FALSE(profile.IsLimitEnabled(-1));
    EXPECT_FALSE(profile.CheckLimit(6, 100.0f));
}
