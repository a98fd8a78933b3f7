#include <gtest/gtest.h>

#include "appcore/CGaugeLayout.h"

using Labels = std::vector<std::string>;

TEST(CGaugeLayout, GeometryOfA300By200Window) {
    CGaugeLayout layout;
    layout.Recalc(300, 200);
    EXPECT_FLOAT_EQ(layout.Scale(), 1.0f);
    EXPECT_FLOAT_EQ(layout.Dial().width, 200.0f);
    EXPECT_FLOAT_EQ(layout.Dial().height, 198.0f);
    EXPECT_FLOAT_EQ(layout.Centre().x, 100.0f);
    EXPECT_FLOAT_EQ(layout.Centre().y, 99.0f);
    EXPECT_FLOAT_EQ(layout.Hub().x, 80.0f);
    EXPECT_FLOAT_EQ(layout.Hub().y, 79.0f);
    EXPECT_FLOAT_EQ(layout.Hub().width, 40.0f);
    EXPECT_FLOAT_EQ(layout.Glass().x, 20.0f);
    EXPECT_FLOAT_EQ(layout.Glass().y, 10.0f);
    EXPECT_FLOAT_EQ(layout.Glass().width, 160.0f);
    EXPECT_FLOAT_EQ(layout.Glass().height, 129.0f);
}

TEST(CGaugeLayout, SmallWindowsAreLaidOutAs100By100) {
    CGaugeLayout layout;
    layout.Recalc(40, 0);
    EXPECT_EQ(layout.Width(), 100);
    EXPECT_EQ(layout.Height(), 100);
    EXPECT_FLOAT_EQ(layout.Scale(), 0.5f);
    EXPECT_FLOAT_EQ(layout.Dial().width, 98.0f);
}

TEST(CGaugeLayout, MajorLabelsAreWholeOrOneDecimalByRange) {
    EXPECT_EQ(CGaugeLayout::MajorLabels(0.0, 100.0, 10),
              (Labels{"0", "11", "22", "33", "44", "56", "67", "78", "89", "100"}));
    EXPECT_EQ(CGaugeLayout::MajorLabels(-10.0, 5.0, 10),
              (Labels{"-10.0", "-8.3", "-6.7", "-5.0", "-3.3", "-1.7", "0.0", "1.7", "3.3", "5.0"}));
    EXPECT_EQ(CGaugeLayout::MajorLabels(-30.0, 20.0, 10).front(), "-30");
    EXPECT_EQ(CGaugeLayout::MajorLabels(7.0, 7.0, 3), (Labels{"7.0", "7.0", "7.0"}));
}

TEST(CGaugeLayout, NeedleAndBandAnglesAcrossTheDial) {
    EXPECT_FLOAT_EQ(CGaugeLayout::ValueAngle(20.0, 20.0, 60.0), 135.0f);
    EXPECT_FLOAT_EQ(CGaugeLayout::ValueAngle(60.0, 20.0, 60.0), 405.0f);
    EXPECT_FLOAT_EQ(CGaugeLayout::ValueAngle(40.0, 20.0, 60.0), 270.0f);
    EXPECT_FLOAT_EQ(CGaugeLayout::ValueAngle(5.0, 5.0, 5.0), 135.0f);

    GaugeArc arc;
    ASSERT_TRUE(CGaugeLayout::BandArc(30.0, 50.0, 20.0, 60.0, arc));
    EXPECT_FLOAT_EQ(arc.start, 202.5f);
    EXPECT_FLOAT_EQ(arc.sweep, 135.0f);
    // Bands are not clipped: one below the scale starts before the dial does.
    ASSERT_TRUE(CGaugeLayout::BandArc(10.0, 20.0, 20.0, 60.0, arc));
    EXPECT_FLOAT_EQ(arc.start, 67.5f);
    EXPECT_FALSE(CGaugeLayout::BandArc(1.0, 2.0, 5.0, 5.0, arc));

    EXPECT_FLOAT_EQ(CGaugeLayout::TickStep(10, 9), 3.0f);
}

TEST(CGaugeLayout, ShadeColorDarkensChannelsAndKeepsAlpha) {
    EXPECT_EQ(CGaugeLayout::ShadeColor(0xFF4169E1, 100), 0xFF4169E1u);
    EXPECT_EQ(CGaugeLayout::ShadeColor(0xFF4169E1, 20), 0xFF0D152Du);
    EXPECT_EQ(CGaugeLayout::ShadeColor(0x80FFFF00, 75), 0x80BFBF00u);
    EXPECT_EQ(CGaugeLayout::ShadeColor(0xFF808080, -5), 0xFF000000u);
    EXPECT_EQ(CGaugeLayout::ShadeColor(0xFF808080, 300), 0xFFFFFFFFu);
}
