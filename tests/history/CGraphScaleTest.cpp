#include <gtest/gtest.h>

#include <limits>

#include "history/CGraphScale.h"

namespace {

// 10-pixel characters and 20-pixel lines: plot area 180..890 x 80..340 of a 900 x 400 graph.
CGraphScale Graph900By400() {
    CGraphScale scale;
    scale.SetFontMetrics(10, 20);
    scale.Resize(0, 0, 900, 400);
    return scale;
}

} // namespace

TEST(CGraphScale, PlotAreaLeavesRoomForTheTexts) {
    const CGraphScale scale = Graph900By400();
    EXPECT_EQ(scale.PlotLeft(), 180);
    EXPECT_EQ(scale.PlotTop(), 80);
    EXPECT_EQ(scale.PlotRight(), 890);
    EXPECT_EQ(scale.PlotBottom(), 340);
    EXPECT_EQ(scale.PlotWidth(), 710);
}

TEST(CGraphScale, SizesBelowTheMinimumAreRaisedAndNonPositiveOnesIgnored) {
    CGraphScale scale = Graph900By400();
    scale.Resize(-5, -1, 200, 150);
    EXPECT_EQ(scale.Left(), 0);
    EXPECT_EQ(scale.Top(), 0);
    EXPECT_EQ(scale.Width(), 350);
    EXPECT_EQ(scale.Height(), 300);
    scale.Resize(0, 0, 0, -3);
    EXPECT_EQ(scale.Width(), 350);
    EXPECT_EQ(scale.Height(), 300);

    // A compact graph keeps a bottom-row size whole, down to its labels and a plot 5 lines high.
    scale.SetFontMetrics(7, 15);
    scale.SetCompact(true);
    scale.Resize(0, 0, 760, 233);
    EXPECT_EQ(scale.Height(), 233);
    EXPECT_EQ(scale.PlotBottom(), 233 - 3 * 15);
    scale.Resize(0, 0, 100, 100);
    EXPECT_EQ(scale.Width(), 36 * 7);
    EXPECT_EQ(scale.Height(), 12 * 15);
}

TEST(CGraphScale, RangesAreOrderedWidenedAndNeverNonFinite) {
    CGraphScale scale = Graph900By400();
    scale.SetYRange(50.0f, -40.0f);
    EXPECT_FLOAT_EQ(scale.YMinimum(), -40.0f);
    EXPECT_FLOAT_EQ(scale.YMaximum(), 50.0f);
    scale.SetYRange(3.0f, 3.0f);
    EXPECT_FLOAT_EQ(scale.YMinimum(), 3.0f);
    EXPECT_FLOAT_EQ(scale.YMaximum(), 3.1f);
    scale.SetYRange(std::numeric_limits<float>::quiet_NaN(), 10.0f);
    scale.SetXRange(-std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
    EXPECT_FLOAT_EQ(scale.YMinimum(), 3.0f);
    EXPECT_FLOAT_EQ(scale.XMinimum(), -100.0f);
}

TEST(CGraphScale, ValuesMapOntoThePlotAndOutOfRangeHasNoPixel) {
    CGraphScale scale = Graph900By400();
    scale.SetXRange(0.0f, 710.0f);
    scale.SetYRange(0.0f, 260.0f);
    EXPECT_EQ(scale.MapX(0.0f), 180);
    EXPECT_EQ(scale.MapX(710.0f), 890);
    EXPECT_EQ(scale.MapY(260.0f), 80);
    EXPECT_EQ(scale.MapY(0.0f), 340);
    EXPECT_FALSE(scale.MapX(711.0f).has_value());
    EXPECT_FALSE(scale.MapY(-0.5f).has_value());
    // A value above the range is drawn on the top edge, not dropped.
    EXPECT_EQ(scale.PixelY(scale.ClampY(1000.0f)), 80);
    EXPECT_EQ(scale.PixelY(scale.ClampY(std::numeric_limits<float>::quiet_NaN())), 340);
}

TEST(CGraphScale, ValueLabelsRunFromTopToBottom) {
    CGraphScale scale = Graph900By400();
    scale.SetYRange(-40.0f, 60.0f);
    EXPECT_FLOAT_EQ(scale.YLabelValue(0), 60.0f);
    EXPECT_FLOAT_EQ(scale.YLabelValue(3), 30.0f);
    EXPECT_FLOAT_EQ(scale.YLabelValue(10), -40.0f);
}
