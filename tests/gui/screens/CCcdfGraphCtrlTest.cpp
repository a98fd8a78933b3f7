#include "gui/screens/CCcdfGraphCtrl.h"

#include "support/MouseEvents.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

namespace {

class CCcdfGraphCtrlTest : public ::testing::Test {
protected:
    void SetUp() override { m_graph.resize(600, 400); }

    void Show(const std::vector<CcdfPoint>& curve) { m_graph.SetData(0.0f, 20.0f, 0.0f, -4.0f, curve); }

    // Left-button events; a move is one with the button held.
    void Mouse(QEvent::Type type, int x, int y) { SendMouse(m_graph, type, QPoint(x, y)); }

    // Drags the marker from inside the plot to the column of x dB.
    void DragTo(float x) {
        const CGraphScale& scale = m_graph.Graph().Scale();
        const int y = scale.PlotTop() + 10;
        Mouse(QEvent::MouseButtonPress, scale.PlotLeft() + 5, y);
        Mouse(QEvent::MouseMove, scale.PixelX(x), y);
        Mouse(QEvent::MouseButtonRelease, scale.PixelX(x), y);
    }

    CCcdfGraphCtrl m_graph;
};

} // namespace

TEST_F(CCcdfGraphCtrlTest, EmptyCurveShowsTheAxesWithoutMarker) {
    Show({});
    EXPECT_EQ(m_graph.Series().subtitle, "");
    EXPECT_EQ(m_graph.MarkerIndex(), -1);
    EXPECT_EQ(m_graph.Graph().Scale().XMaximum(), 20.0f);
    EXPECT_EQ(m_graph.Graph().Scale().YMinimum(), -4.0f);
    EXPECT_EQ(m_graph.Series().title, "CCDF Graph");
    EXPECT_TRUE(m_graph.Graph().MarkerBox().isNull());
}

TEST_F(CCcdfGraphCtrlTest, MarkerFollowsTheDragAndReadsTheCurvePointItMarks) {
    // The first point lies beyond 20 dB and is not drawn: the marker starts on the second.
    Show({{25.0f, -4.0f}, {10.0f, -2.0f}, {5.0f, -1.0f}, {1.0f, -0.3f}});
    EXPECT_EQ(m_graph.MarkerIndex(), 1);
    EXPECT_EQ(m_graph.Series().subtitle, "Marker : 10.00 dB, 1.000 %");
    EXPECT_FALSE(m_graph.Graph().MarkerBox().isNull());

    DragTo(5.3f);
    EXPECT_EQ(m_graph.MarkerIndex(), 2);
    EXPECT_EQ(m_graph.Series().subtitle, "Marker : 5.00 dB, 10.000 %");

    // A new, shorter curve keeps the marker on a point it has.
    Show({{12.0f, -3.0f}, {4.0f, -1.0f}});
    EXPECT_EQ(m_graph.MarkerIndex(), 1);
    EXPECT_EQ(m_graph.Series().subtitle, "Marker : 4.00 dB, 10.000 %");
}

TEST_F(CCcdfGraphCtrlTest, PressOutsideThePlotDoesNotDrag) {
    Show({{10.0f, -2.0f}, {5.0f, -1.0f}});
    const CGraphScale& scale = m_graph.Graph().Scale();
    Mouse(QEvent::MouseButtonPress, 2, 2);
    Mouse(QEvent::MouseMove, scale.PixelX(5.0f), scale.PlotTop() + 10);
    EXPECT_EQ(m_graph.MarkerIndex(), 0);
}
