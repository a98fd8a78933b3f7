#include "support/ProfileFixture.h"

#include <limits>

#include "appcore/CReadoutTexts.h"

using CReadoutTextsTest = ProfileFixture;

TEST_F(CReadoutTextsTest, SensorModeAndQuantityTexts) {
    EXPECT_EQ(CReadoutTexts::SensorTypeText(Profile()), Text("S_MEASUREVIEW_DIRECTIONAL"));
    EXPECT_EQ(CReadoutTexts::MeasurementModeText(Profile()), Text("S_MEASUREVIEW_ABSOLUTEMODE"));
    Profile().SetRelativeMode(true);
    EXPECT_EQ(CReadoutTexts::MeasurementModeText(Profile()), Text("S_MEASUREVIEW_RELATIVEMODE"));
    EXPECT_EQ(CReadoutTexts::QuantityLabel(0, ChannelVswr), Text("S_MEASUREVIEW_VSWR"));
    EXPECT_EQ(CReadoutTexts::QuantityLabel(9, ChannelVswr), "PAR");
    EXPECT_EQ(CReadoutTexts::QuantityLabel(0, 5), "");
    Profile().SetModelNumber(7);
    EXPECT_EQ(CReadoutTexts::SensorTypeText(Profile()), "");
}

TEST_F(CReadoutTextsTest, PowerReadingInAbsoluteMode) {
    Record(ChannelAvg, {42.0f, 43.01f});
    CReadoutTexts::Texts texts;
    CReadoutTexts::SetValues(Profile(), Records(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemValue], "43.01 dBm");
    EXPECT_EQ(texts[ItemWatts], "20.00 W");
    EXPECT_EQ(texts[ItemMinimum], Text("S_MEASUREVIEW_MIN") + " 42.00 dBm");
    EXPECT_EQ(texts[ItemMaximum], Text("S_MEASUREVIEW_MAX") + " 43.01 dBm");

    Profile().SetDecimalPlaces(0);
    CReadoutTexts::SetValues(Profile(), Records(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemValue], "43 dBm");
}

TEST_F(CReadoutTextsTest, RelativeModeShowsDifferencesToTheReference) {
    Profile().SetRelativeMode(true);
    Record(ChannelAvg, {20.0f, 20.5f, 19.0f});
    Record(ChannelAvg, {20.5f});
    CReadoutTexts::Texts texts;
    CReadoutTexts::SetValues(Profile(), Records(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemValue], "0.50 dB");
    EXPECT_EQ(texts[ItemReference], Text("S_MEASUREVIEW_REF") + " 20.00 dBm");
    EXPECT_EQ(texts[ItemMinimum], Text("S_MEASUREVIEW_MIN") + " -1.00 dB");
    EXPECT_EQ(texts[ItemMaximum], Text("S_MEASUREVIEW_MAX") + " 0.50 dB");
}

TEST_F(CReadoutTextsTest, VswrShowsReturnLossOrNotAvailable) {
    Profile().SetModelNumber(0);
    CReadoutTexts::Texts texts;
    Record(ChannelVswr, {1.0f});
    CReadoutTexts::SetValues(Profile(), Records(), ChannelVswr, texts);
    EXPECT_EQ(texts[ItemValue], "1.00 : 1");
    EXPECT_EQ(texts[ItemWatts], Text("S_MEASUREVIEW_NA"));

    Record(ChannelVswr, {1.5f});
    CReadoutTexts::SetValues(Profile(), Records(), ChannelVswr, texts);
    EXPECT_EQ(texts[ItemValue], "1.50 : 1");
    EXPECT_EQ(texts[ItemWatts], "Return Loss: -13.98 dB");
    EXPECT_EQ(texts[ItemMaximum], Text("S_MEASUREVIEW_MAX") + " 1.50 : 1");
}

TEST_F(CReadoutTextsTest, PeakToAverageRatioHasNoSecondLine) {
    Profile().SetModelNumber(4);
    Record(ChannelVswr, {7.25f});
    CReadoutTexts::Texts texts;
    texts[ItemWatts] = "stale";
    CReadoutTexts::SetValues(Profile(), Records(), ChannelVswr, texts);
    EXPECT_EQ(texts[ItemValue], "7.25 dB");
    EXPECT_EQ(texts[ItemWatts], "");
    EXPECT_EQ(CReadoutTexts::GaugeCaption(4, ChannelVswr), Text("S_MEASUREVIEW_PAR"));
    EXPECT_EQ(CReadoutTexts::GaugeCaption(0, ChannelVswr), Text("S_MEASUREVIEW_VSWR"));
    EXPECT_EQ(CReadoutTexts::GaugeCaption(4, ChannelPeak), "dBm");
}

TEST_F(CReadoutTextsTest, LimitLinesCarryTheQuantitysUnitAndOnlyWhenEnabled) {
    CReadoutTexts::Texts texts;
    Profile().SetLimits(ChannelAvg, 30.0f, 50.0f);
    CReadoutTexts::SetLimits(Profile(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemLowLimit], "");

    Profile().SetLimitEnabled(ChannelAvg, true);
    CReadoutTexts::SetLimits(Profile(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemLowLimit], Text("S_MEASUREVIEW_LLIMIT") + " 30.00 dBm");
    EXPECT_EQ(texts[ItemHighLimit], Text("S_MEASUREVIEW_HLIMIT") + " 50.00 dBm");

    Profile().SetModelNumber(0);
    Profile().SetLimits(ChannelVswr, 1.0f, 1.5f);
    Profile().SetLimitEnabled(ChannelVswr, true);
    CReadoutTexts::SetLimits(Profile(), ChannelVswr, texts);
    EXPECT_EQ(texts[ItemHighLimit], Text("S_MEASUREVIEW_HLIMIT") + " 1.50 : 1");

    Profile().SetModelNumber(9);
    CReadoutTexts::SetLimits(Profile(), ChannelVswr, texts);
    EXPECT_EQ(texts[ItemHighLimit], Text("S_MEASUREVIEW_HLIMIT") + " 1.50 dB");
}

TEST_F(CReadoutTextsTest, IdentityLinesAndTechnologyOnlyForItsModel) {
    Profile().SetSerialText("A1234");
    Profile().SetFrequency(2450.5f);
    Profile().SetExtOffset(-1.25f);
    CReadoutTexts::Texts texts;
    CReadoutTexts::SetIdentity(Profile(), ChannelPeak, texts);
    EXPECT_EQ(texts[ItemSerial], Text("S_MEASUREVIEW_SN") + " A1234");
    EXPECT_EQ(texts[ItemFrequency], Text("S_MEASUREVIEW_FREQUENCY") + " 2450.50 MHz");
    EXPECT_EQ(texts[ItemExtOffset], Text("S_MEASUREVIEW_EXTOFFSET") + " -1.25 dB");
    EXPECT_EQ(texts[ItemLabel], Text("S_MEASUREVIEW_PEAK"));
    EXPECT_EQ(texts[ItemTechnology], "Technology: " + Profile().TechnologyName());

    Profile().SetModelNumber(0);
    CReadoutTexts::SetIdentity(Profile(), ChannelPeak, texts);
    EXPECT_EQ(texts[ItemTechnology], "");
}

TEST_F(CReadoutTextsTest, ChannelWithoutReadingShowsNotAvailableNotItsDisplayMinimum) {
    const std::string none = Text("S_MEASUREVIEW_NOVALUE");
    Profile().SetModelNumber(0);
    CReadoutTexts::Texts texts;
    for (int quantity : {ChannelAvg, ChannelVswr, ChannelPulse}) {
        CReadoutTexts::SetValues(Profile(), Records(), quantity, texts);
        EXPECT_EQ(texts[ItemValue], none) << quantity;
        EXPECT_EQ(texts[ItemMinimum], Text("S_MEASUREVIEW_MIN") + " " + none) << quantity;
        EXPECT_EQ(texts[ItemMaximum], Text("S_MEASUREVIEW_MAX") + " " + none) << quantity;
    }
    EXPECT_EQ(texts[ItemWatts], none);
    EXPECT_EQ(texts[ItemDutyCycle], "Duty Cycle [A] N/A");
    CReadoutTexts::SetValues(Profile(), Records(), ChannelVswr, texts);
    EXPECT_EQ(texts[ItemWatts], Text("S_MEASUREVIEW_NA"));

    // A reading that is no longer live: the record's extremes stay, the value goes.
    Record(ChannelAvg, {43.01f});
    Records().ForgetCurrentValues();
    CReadoutTexts::SetValues(Profile(), Records(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemValue], none);
    EXPECT_EQ(texts[ItemWatts], none);
    EXPECT_EQ(texts[ItemMaximum], Text("S_MEASUREVIEW_MAX") + " 43.01 dBm");

    // Relative mode restarts the reference: nothing to relate to until the next value.
    Record(ChannelAvg, {43.01f});
    Profile().SetRelativeMode(true);
    Records().FollowRelativeMode(true);
    CReadoutTexts::SetValues(Profile(), Records(), ChannelAvg, texts);
    EXPECT_EQ(texts[ItemValue], none);
    EXPECT_EQ(texts[ItemReference], Text("S_MEASUREVIEW_REF") + " " + none);
}

TEST_F(CReadoutTextsTest, PulseLinesFollowTheLastReading) {
    Record(ChannelPulse, {30.0f});
    Records().SetPulseTiming(std::numeric_limits<float>::quiet_NaN(), 3.5f);
    CReadoutTexts::Texts texts;
    CReadoutTexts::SetValues(Profile(), Records(), ChannelPulse, texts);
    EXPECT_EQ(texts[ItemDutyCycle], "Duty Cycle [A] N/A");
    EXPECT_EQ(texts[ItemBurstWidth], "Burst Width   3.500 us");
}
