#include "appcore/CMeasurementLayout.h"
#include "appcore/ReadoutItem.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

#include <gtest/gtest.h>

using Action = CMeasurementLayout::DoubleClickAction;

TEST(MeasurementLayoutTest, MultiScreenGeometryLeavesOnePixelGaps) {
    CMeasurementLayout layout(0);
    const auto rects = layout.Geometry(203, 103);
    EXPECT_EQ(rects[0], (PanelRect{1, 1, 100, 50, true}));
    EXPECT_EQ(rects[1], (PanelRect{102, 1, 100, 50, true}));
    EXPECT_EQ(rects[2], (PanelRect{1, 52, 100, 50, true}));
    EXPECT_EQ(rects[3], (PanelRect{102, 52, 100, 50, true}));
    EXPECT_FALSE(rects[CMeasurementLayout::kGraphIndex].visible);

    // Odd remainders go to the right column and the bottom-right panel.
    const auto uneven = layout.Geometry(204, 104);
    EXPECT_EQ(uneven[1], (PanelRect{102, 1, 101, 50, true}));
    EXPECT_EQ(uneven[2], (PanelRect{1, 52, 100, 50, true}));
    EXPECT_EQ(uneven[3], (PanelRect{102, 52, 101, 51, true}));
}

TEST(MeasurementLayoutTest, GraphReplacesTheBottomRow) {
    CMeasurementLayout layout(1);
    layout.ConfigureForModel(1);
    ASSERT_TRUE(layout.IsGraphShown());
    const auto rects = layout.Geometry(203, 103);
    EXPECT_EQ(rects[CMeasurementLayout::kGraphIndex], (PanelRect{1, 52, 201, 50, true}));
    EXPECT_TRUE(rects[0].visible);
    EXPECT_TRUE(rects[1].visible);
    EXPECT_FALSE(rects[2].visible);
    EXPECT_FALSE(rects[3].visible);
    EXPECT_EQ(layout.PanelAt(203, 103, 50, 70), CMeasurementLayout::kNoPanel) << "the graph selects nothing";
}

TEST(MeasurementLayoutTest, TinyAreasGiveEmptyRectanglesNotNegativeOnes) {
    CMeasurementLayout layout(0);
    for (const PanelRect& rect : layout.Geometry(0, 1)) {
        EXPECT_GE(rect.width, 0);
        EXPECT_GE(rect.height, 0);
    }
}

TEST(MeasurementLayoutTest, SlotsFollowTheMainQuantity) {
    CMeasurementLayout layout(0);
    EXPECT_EQ(layout.Slots(), (std::array<int, 4>{0, 1, 2, 3}));
    layout.SetMainQuantity(ChannelVswr);
    EXPECT_EQ(layout.Slots(), (std::array<int, 4>{0, 3, 1, 2}));
    layout.SetMainQuantity(ChannelPeak);
    EXPECT_EQ(layout.Slots(), (std::array<int, 4>{0, 2, 1, 3}));
    layout.SetMainQuantity(ChannelRev);
    EXPECT_EQ(layout.Slots(), (std::array<int, 4>{0, 2, 1, 3})) << "REV keeps the arrangement";
}

TEST(MeasurementLayoutTest, SelectionRulesPerModel) {
    EXPECT_EQ(CMeasurementLayout::InitialSelection(0), 1);
    EXPECT_EQ(CMeasurementLayout::InitialSelection(3), 2);
    EXPECT_EQ(CMeasurementLayout::InitialSelection(8), 2);
    for (const SensorModel& row : CModelTable::Rows()) {
        const int model = row.number;
        if (CModelTable::IsAvgOnly(model)) {
            EXPECT_TRUE(CMeasurementLayout::IsSelectable(model, 0));
            EXPECT_TRUE(CMeasurementLayout::IsSelectable(model, 1));
            EXPECT_FALSE(CMeasurementLayout::IsSelectable(model, 2));
            EXPECT_FALSE(CMeasurementLayout::IsSelectable(model, 3));
        } else if (CModelTable::IsPeakOnly(model)) {
            EXPECT_FALSE(CMeasurementLayout::IsSelectable(model, 1));
            EXPECT_TRUE(CMeasurementLayout::IsSelectable(model, 2));
            EXPECT_FALSE(CMeasurementLayout::IsSelectable(model, 3));
        }
    }
    CMeasurementLayout layout(3);
    layout.ConfigureForModel(3);
    EXPECT_EQ(layout.MainQuantity(), ChannelPeak);
    EXPECT_FALSE(layout.Select(1));
    EXPECT_FALSE(layout.Select(CMeasurementLayout::kNoPanel));
    EXPECT_EQ(layout.SelectedPanel(), 2) << "a refused click keeps the selection";
}

TEST(MeasurementLayoutTest, SetAsDefaultMovesTheSelectedQuantityToTheMainPanel) {
    CMeasurementLayout layout(0);
    layout.ConfigureForModel(0);
    EXPECT_FALSE(layout.SetAsDefault()) << "AVG already is the main quantity";
    ASSERT_TRUE(layout.Select(3));
    EXPECT_TRUE(layout.SetAsDefault());
    EXPECT_EQ(layout.MainQuantity(), ChannelVswr);
    EXPECT_EQ(layout.PanelQuantity(0), ChannelVswr);
    EXPECT_EQ(layout.Slots()[1], 3);
    ASSERT_TRUE(layout.Select(0));
    EXPECT_FALSE(layout.SetAsDefault());
}

TEST(MeasurementLayoutTest, FullScreenAndBack) {
    CMeasurementLayout layout(1);
    layout.ConfigureForModel(1);
    ASSERT_TRUE(layout.Select(1));
    ASSERT_TRUE(layout.FullScreen());
    EXPECT_FALSE(layout.FullScreen()) << "only from multi-screen view";
    EXPECT_EQ(layout.PanelStyle(1), StyleFullScreen);
    const auto rects = layout.Geometry(300, 200);
    EXPECT_EQ(rects[1], (PanelRect{0, 0, 300, 200, true}));
    for (int index : {0, 2, 3, CMeasurementLayout::kGraphIndex})
        EXPECT_FALSE(rects[static_cast<size_t>(index)].visible) << index;

    ASSERT_TRUE(layout.MultiScreen());
    EXPECT_FALSE(layout.MultiScreen());
    EXPECT_EQ(layout.PanelStyle(1), StyleSmall);
    EXPECT_TRUE(layout.IsGraphShown()) << "AVG-only sensors return to the graph";
}

TEST(MeasurementLayoutTest, DoubleClicks) {
    CMeasurementLayout layout(0);
    layout.ConfigureForModel(0);
    EXPECT_EQ(layout.DoubleClick(0, true), Action::None);
    EXPECT_EQ(layout.DoubleClick(2, false), Action::SetAsDefault) << "PEAK differs from the main AVG";
    EXPECT_EQ(layout.SelectedPanel(), 2);
    EXPECT_EQ(layout.DoubleClick(1, false), Action::FullScreen) << "AVG is already the main quantity";
    EXPECT_EQ(layout.DoubleClick(0, false), Action::FullScreen);
    ASSERT_TRUE(layout.FullScreen());
    EXPECT_EQ(layout.FullScreenPanel(), 0);
    EXPECT_EQ(layout.DoubleClick(0, false), Action::MultiScreen);
}

TEST(MeasurementLayoutTest, HistoryGraphToggle) {
    CMeasurementLayout layout(0);
    layout.ConfigureForModel(0);
    ASSERT_TRUE(layout.Select(2));
    EXPECT_TRUE(layout.ToggleGraph()) << "showing the graph takes the selected quantity";
    EXPECT_TRUE(layout.IsGraphShown());
    EXPECT_EQ(layout.MainQuantity(), ChannelPeak);
    ASSERT_TRUE(layout.Select(3));
    EXPECT_FALSE(layout.ToggleGraph()) << "hiding it changes nothing else";
    EXPECT_FALSE(layout.IsGraphShown());

    ASSERT_TRUE(layout.FullScreen());
    layout.ToggleGraph();
    EXPECT_FALSE(layout.IsFullScreen());
    EXPECT_TRUE(layout.IsGraphShown());
}
