#include "appcore/CPulseLayout.h"
#include "appcore/ReadoutItem.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

#include <gtest/gtest.h>

using Action = CPulseLayout::DoubleClickAction;

TEST(PulseLayoutTest, SlotsAreFixedAndTheGraphShowsInMultiScreen) {
    CPulseLayout layout(0);
    const auto rects = layout.Geometry(203, 103);
    EXPECT_EQ(rects[1], (PanelRect{102, 1, 100, 50, true}));
    EXPECT_FALSE(rects[2].visible);
    EXPECT_TRUE(rects[CPulseLayout::kGraphIndex].visible);

    // PEAK full screen: the pulse style, its quantity the main one, no graph; back with the graph.
    ASSERT_TRUE(layout.Select(2));
    ASSERT_TRUE(layout.FullScreen());
    EXPECT_EQ(layout.PanelStyle(2), StyleFullScreenPulse);
    EXPECT_EQ(layout.MainQuantity(), ChannelPeak);
    EXPECT_EQ(layout.Geometry(203, 103)[2], (PanelRect{0, 0, 203, 103, true}));
    ASSERT_TRUE(layout.MultiScreen());
    EXPECT_TRUE(layout.IsGraphShown());
    EXPECT_EQ(layout.Geometry(203, 103)[1], rects[1]) << "slots do not follow the main quantity";
}

TEST(PulseLayoutTest, SelectionRefusalsAndInitialSelectionPerModel) {
    for (const SensorModel& model : CModelTable::Rows()) {
        CPulseLayout layout(model.number);
        layout.ConfigureForModel(model.number);
        EXPECT_TRUE(CPulseLayout::IsSelectable(model.number, layout.SelectedPanel())) << model.number;
        EXPECT_EQ(layout.MainQuantity(), ChannelPulse);
    }
    for (const SensorModel& row : CModelTable::Rows()) {
        const int model = row.number;
        if (CModelTable::IsAvgOnly(model) || CModelTable::HasPulseAndCcdf(model)) {
            EXPECT_FALSE(CPulseLayout::IsSelectable(model, 2)) << model;
            EXPECT_FALSE(CPulseLayout::IsSelectable(model, 3)) << model;
            EXPECT_TRUE(CPulseLayout::IsSelectable(model, 1)) << model;
        } else if (CModelTable::IsPeakOnly(model)) {
            EXPECT_FALSE(CPulseLayout::IsSelectable(model, 1)) << model;
            EXPECT_FALSE(CPulseLayout::IsSelectable(model, 3)) << model;
            EXPECT_EQ(CPulseLayout::InitialSelection(model, 1), 2) << model;
        } else {
            EXPECT_TRUE(CPulseLayout::IsSelectable(model, 3)) << model;
        }
    }
    EXPECT_EQ(CPulseLayout::InitialSelection(1, 3), 3) << "no PULSE, PEAK or VSWR: the selection stays";
}

TEST(PulseLayoutTest, SetAsDefaultAlwaysGoesBackToPulse) {
    CPulseLayout layout(0);
    ASSERT_TRUE(layout.Select(3));
    ASSERT_TRUE(layout.FullScreen());
    ASSERT_TRUE(layout.MultiScreen());
    EXPECT_EQ(layout.MainQuantity(), ChannelVswr);
    ASSERT_TRUE(layout.Select(2));
    EXPECT_TRUE(layout.SetAsDefault());
    EXPECT_EQ(layout.MainQuantity(), ChannelPulse) << "not PEAK, which the selected panel shows";
    ASSERT_TRUE(layout.Select(1));
    EXPECT_FALSE(layout.SetAsDefault());

    EXPECT_EQ(layout.DoubleClick(2, false), Action::SetAsDefault);
    EXPECT_EQ(layout.DoubleClick(1, false), Action::FullScreen);
    CPulseLayout terminating(1);
    EXPECT_EQ(terminating.DoubleClick(2, false), Action::FullScreen) << "refused panel, selection kept";
    EXPECT_EQ(terminating.SelectedPanel(), 1);
}
