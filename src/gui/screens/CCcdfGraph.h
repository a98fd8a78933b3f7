#pragma once

#include "gui/history/CGraph.h"

#include <QPoint>
#include <QRect>

#include <utility>
#include <vector>

// The CCDF graph: decades of probability against dB above average, the noise reference curve
// in green, the measured curve and a red caret on the marked point.
class CCcdfGraph : public CGraph {
public:
    // A drag looks for the drawn point nearest the pointer within this many pixels.
    static constexpr int kMarkerReach = 100;

    explicit CCcdfGraph(const QWidget* owner = nullptr);

    // log10 of the reference probability every 12.5 / 800 dB; the values are not copied.
    void SetReference(const float* values, int count);
    // The marked point by its index in the curve; -1 marks the first point drawn.
    void SetMarkerIndex(int index) { m_markerIndex = index; }
    int MarkerIndex() const { return m_markerIndex; }
    // Marks the drawn point nearest to pixel column x; false when none lies within reach.
    bool MoveMarker(int x);
    // Where the caret was last drawn; empty when none was.
    const QRect& MarkerBox() const { return m_markerBox; }
    bool InPlotArea(const QPoint& point) const;

protected:
    void DrawXEndLabels(QPainter& painter) override;
    void DrawValueLabels(QPainter& painter) override;
    void DrawSeries(QPainter& painter) override;

private:
    void DrawReference(QPainter& painter) const;
    void DrawMeasuredCurve(QPainter& painter);
    void DrawMarker(QPainter& painter);
    QPoint Pixel(float x, float y) const;

    const float* m_reference = nullptr;
    int m_referenceCount = 0;
    // Curve index and pixel of every point drawn in the last paint, in drawing order.
    std::vector<std::pair<int, QPoint>> m_drawnPoints;
    int m_markerIndex = -1;
    QRect m_markerBox;
};
