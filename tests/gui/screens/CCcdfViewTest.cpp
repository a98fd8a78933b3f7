#include "gui/screens/CCcdfView.h"

#include "gui/screens/CCcdfGraphCtrl.h"
#include "gui/screens/CCcdfTextView.h"
#include "model/CSettingProfile.h"

#include <QApplication>

#include <gtest/gtest.h>

TEST(CCcdfViewTest, EmptyWindowShowsNotAvailableAndAnEmptyGraph) {
    CSettingProfile profile;
    CCcdfView view(profile);
    view.resize(900, 600);
    CCcdfResult result;
    result.measured = true;
    result.averagePower = 40.123;
    result.curve = {{9.0f, -4.0f}, {6.0f, -2.0f}, {3.0f, -1.0f}};
    view.Show(result, 7, 13);
    EXPECT_EQ(view.Pane(CCcdfPaneTexts::Power)->Texts()[0], "Avg. Power : 40.12 dBm");
    EXPECT_EQ(view.Graph()->Series().pointCount, 3);
    EXPECT_NE(view.Graph()->Series().subtitle, "");

    view.Show(CCcdfResult{}, 0, 13);
    EXPECT_EQ(view.Pane(CCcdfPaneTexts::Power)->Texts()[0], "Avg. Power : N/A");
    EXPECT_EQ(view.Graph()->Series().pointCount, 0);
    EXPECT_EQ(view.Graph()->Series().subtitle, "");
}

// At three quarters of the default main window the panes give their texts the room they need.
TEST(CCcdfViewTest, PaneTextsAreWholeInASmallWindow) {
    CSettingProfile profile;
    profile.SetModelNumber(5);
    profile.SetCcdfRate(3);
    CCcdfView view(profile);
    CCcdfResult result;
    result.measured = true;
    result.averagePower = -40.123;
    result.crestFactor = 12.5;
    view.Show(result, 100, -1);
    view.resize(766, 470);
    view.show();
    QApplication::processEvents();
    for (int pane = 0; pane < CCcdfPaneTexts::PaneCount; ++pane) {
        const CCcdfTextView* text = view.Pane(static_cast<CCcdfPaneTexts::Pane>(pane));
        EXPECT_LE(text->ContentSize().width(), text->width()) << pane;
        EXPECT_LE(text->ContentSize().height(), text->height()) << pane;
    }
}

// Tiled or in a 640 x 420 window the panes are too small for their full-size texts: the fonts
// shrink and no line is cut, down to the 0.01 % level; the graph keeps its lower scale.
TEST(CCcdfViewTest, SmallWindowsShrinkTheLinesAndKeepTheGraphsScale) {
    CSettingProfile profile;
    profile.SetModelNumber(5);
    CCcdfView view(profile);
    CCcdfResult result;
    result.measured = true;
    result.levelKnown.fill(true);
    view.Show(result, 10, -1);
    for (const QSize size : {QSize(620, 330), QSize(400, 300)}) {
        view.resize(size);
        view.show();
        QApplication::processEvents();
        const std::vector<std::string> levels = view.Pane(CCcdfPaneTexts::Levels)->ShownTexts();
        ASSERT_EQ(levels.size(), 6u) << size.width();
        EXPECT_EQ(levels[4], "[0.01%] 0.00 dB");
        const CGraphScale& scale = view.Graph()->Graph().Scale();
        EXPECT_LE(scale.Height(), view.Graph()->height()) << size.width();
    }
}
