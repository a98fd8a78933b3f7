#include <gtest/gtest.h>

#include "appcore/CReadoutLayout.h"
#include "model/HistoryChannel.h"

namespace {

ReadoutState State(int style, int quantity = ChannelAvg, bool relative = false, bool limits = true) {
    ReadoutState state;
    state.style = style;
    state.quantity = quantity;
    state.relativeMode = relative;
    state.limitEnabled = limits;
    return state;
}

} // namespace

TEST(CReadoutLayout, MainStyleAtItsBaseSizeUsesTheTemplateAsIs) {
    const auto items = CReadoutLayout::Items(State(StyleMain), 476, 326);
    EXPECT_EQ(items[ItemValue].left, 210);
    EXPECT_EQ(items[ItemValue].top, 132);
    EXPECT_EQ(items[ItemValue].right, 476);
    EXPECT_EQ(items[ItemValue].bottom, 326);
    EXPECT_EQ(items[ItemValue].fontPoints, 36);
    EXPECT_EQ(items[ItemValue].rgb, 0x00FF00u);
    EXPECT_EQ(items[ItemHighLimit].left, 248);
    EXPECT_EQ(items[ItemHighLimit].top, 252);
    EXPECT_EQ(items[ItemLabel].rgb, 0xFFFFFFu);
    EXPECT_EQ(items[ItemMode].rgb, 0xDCDCDCu);
}

TEST(CReadoutLayout, PositionsAndFontsScaleWithTheWindow) {
    const auto items = CReadoutLayout::Items(State(StyleMain), 952, 489);
    EXPECT_EQ(items[ItemValue].left, 420);
    EXPECT_EQ(items[ItemValue].top, 198);
    // The font follows the smaller of the two scales (1.5 here).
    EXPECT_EQ(items[ItemValue].fontPoints, 54);
    EXPECT_EQ(items[ItemSerial].fontPoints, 15);
}

// A window smaller than the template is laid out within its own size, at fonts still legible;
// what then does not fit is the control's to shrink or leave out, never to draw past the edge.
TEST(CReadoutLayout, SmallWindowsAreLaidOutWithinTheirSize) {
    const auto tiny = CReadoutLayout::Items(State(StyleSmall), 120, 90);
    for (int item = 0; item < kReadoutItemCount; ++item) {
        if (!tiny[item].IsVisible())
            continue;
        EXPECT_LT(tiny[item].left, 120) << item;
        EXPECT_LT(tiny[item].top, 90) << item;
        EXPECT_GE(tiny[item].fontPoints, CReadoutLayout::kMinFontPoints) << item;
    }
    EXPECT_EQ(CReadoutLayout::TextAreaWidth(StyleSmall, 300), 120);
    EXPECT_EQ(CReadoutLayout::Items(State(StyleSmall), 300, 200)[ItemValue].right, 120);
}

TEST(CReadoutLayout, StateHidesReferenceWattsModeAndLimits) {
    auto items = CReadoutLayout::Items(State(StyleMain, ChannelAvg, false), 476, 326);
    EXPECT_FALSE(items[ItemReference].IsVisible());
    EXPECT_TRUE(items[ItemWatts].IsVisible());

    items = CReadoutLayout::Items(State(StyleMain, ChannelAvg, true), 476, 326);
    EXPECT_TRUE(items[ItemReference].IsVisible());
    EXPECT_FALSE(items[ItemWatts].IsVisible());

    items = CReadoutLayout::Items(State(StyleFullScreen, ChannelVswr, true), 805, 704);
    EXPECT_FALSE(items[ItemMode].IsVisible());
    EXPECT_FALSE(items[ItemReference].IsVisible());
    EXPECT_TRUE(items[ItemWatts].IsVisible());

    items = CReadoutLayout::Items(State(StyleMain, ChannelAvg, false, false), 476, 326);
    EXPECT_FALSE(items[ItemLowLimit].IsVisible());
    EXPECT_FALSE(items[ItemHighLimit].IsVisible());
}

TEST(CReadoutLayout, SmallStyleShowsOnlyItsOwnItems) {
    const auto items = CReadoutLayout::Items(State(StyleSmall, ChannelAvg, true), 475, 322);
    for (const int hidden : {ItemModel, ItemSerial, ItemMode, ItemReference, ItemLowLimit, ItemTechnology})
        EXPECT_FALSE(items[hidden].IsVisible()) << hidden;
    for (const int shown : {ItemLabel, ItemValue, ItemWatts, ItemMinimum, ItemMaximum, ItemDutyCycle})
        EXPECT_TRUE(items[shown].IsVisible()) << shown;
    EXPECT_EQ(items[ItemValue].rgb, 0xC0C0C0u);
}

TEST(CReadoutLayout, PulseFullScreenSwapsModeForPulseLines) {
    const auto plain = CReadoutLayout::Items(State(StyleFullScreen), 805, 704);
    const auto pulse = CReadoutLayout::Items(State(StyleFullScreenPulse, ChannelPulse), 805, 704);
    EXPECT_TRUE(plain[ItemMode].IsVisible());
    EXPECT_FALSE(plain[ItemDutyCycle].IsVisible());
    EXPECT_FALSE(pulse[ItemMode].IsVisible());
    EXPECT_EQ(pulse[ItemDutyCycle].top, 370);
    EXPECT_EQ(pulse[ItemBurstWidth].top, 404);
    EXPECT_EQ(pulse[ItemLowLimit].left, 168);
}

TEST(CReadoutLayout, AlarmTurnsOnlyTheValueRed) {
    auto state = State(StyleSmall);
    state.alarm = true;
    const auto alarm = CReadoutLayout::Items(state, 475, 322);
    const auto normal = CReadoutLayout::Items(State(StyleSmall), 475, 322);
    EXPECT_EQ(alarm[ItemValue].rgb, 0xFF0000u);
    EXPECT_EQ(alarm[ItemWatts].rgb, normal[ItemWatts].rgb);
    EXPECT_EQ(CReadoutLayout::ValueColour(StyleMain, false), 0x00FF00u);
}

TEST(CReadoutLayout, GaugeSquareBesideTheTextArea) {
    const GaugePlacement gauge = CReadoutLayout::Gauge(StyleSmall, 475, 322);
    EXPECT_TRUE(gauge.visible);
    EXPECT_EQ(gauge.side, 265); // min(475 - 190 - 20, 322 - 20)
    EXPECT_EQ(gauge.x, 200);
    EXPECT_EQ(gauge.y, 28);
    EXPECT_FALSE(CReadoutLayout::Gauge(StyleMain, 476, 326).visible);

    // A text reaching past the text area (a return loss line) pushes the gauge aside.
    const GaugePlacement pushed = CReadoutLayout::Gauge(StyleSmall, 475, 322, 230);
    EXPECT_GE(pushed.x, 230 + CReadoutLayout::kGaugeGap);
    EXPECT_EQ(pushed.x + pushed.side, 475 - 10);
    EXPECT_EQ(CReadoutLayout::Gauge(StyleSmall, 475, 322, 100).x, gauge.x);
}

// The sensor lines of the main readout are 10 points in a 476-pixel template: in a panel of
// three quarters of that they would shrink to 5 points.
TEST(CReadoutLayout, FontsStayLegibleInSmallPanels) {
    for (int style : {StyleMain, StyleSmall, StyleFullScreen, StyleFullScreenPulse}) {
        const auto items = CReadoutLayout::Items(State(style), 300, 200);
        for (int item = 0; item < kReadoutItemCount; ++item)
            EXPECT_GE(items[item].fontPoints, CReadoutLayout::kMinFontPoints) << style << " " << item;
    }
    EXPECT_EQ(CReadoutLayout::Items(State(StyleMain), 952, 489)[ItemSerial].fontPoints, 15);
}
