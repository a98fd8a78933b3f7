#pragma once

#include "ccdf/CCcdfReference.h"
#include "ccdf/CCcdfResult.h"
#include "gui/kit/CMemDC.h"
#include "gui/screens/CCcdfGraph.h"
#include "history/GraphSeries.h"

#include <QWidget>

#include <array>
#include <string>
#include <vector>

// The CCDF screen's graph window: shows a curve over the reference, and lets the user drag the
// marker along the curve, reading its point in the subtitle.
class CCcdfGraphCtrl : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMinSurfaceSize = 100;

    explicit CCcdfGraphCtrl(QWidget* parent = nullptr);

    // Ranges of the power axis and the two ends of the probability axis (log10), and the
    // curve; an empty curve shows the axes and the reference only.
    void SetData(float xMinimum, float xMaximum, float yFirst, float ySecond,
                 const std::vector<CcdfPoint>& curve);

    // A curve from before the sensor stopped answering says so in its title until a new one comes.
    void SetStale(bool stale);
    bool IsStale() const { return m_stale; }

    const CCcdfGraph& Graph() const { return m_graph; }
    const GraphSeries& Series() const { return m_series; }
    // Curve index of the marked point; -1 when no point is drawn.
    int MarkerIndex() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void UpdateSubtitle();
    std::string Title() const;
    void Redraw();

    CCcdfGraph m_graph;
    GraphSeries m_series;
    std::vector<GraphPoint> m_points;
    std::array<float, CCcdfReference::kPointCount> m_reference;
    CMemDC m_surface;
    bool m_dragging = false;
    bool m_stale = false;
};
