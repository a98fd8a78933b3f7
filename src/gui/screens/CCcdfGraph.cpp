#include "gui/screens/CCcdfGraph.h"

#include "ccdf/CCcdfReference.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstdlib>

namespace {

const QColor kReferenceColour(0, 220, 0);
const QColor kMarkerColour(220, 0, 0);
// The reference is drawn this far (points of 12.5 / 800 dB); beyond its table it lies on the
// bottom edge of the plot.
constexpr int kReferenceSpan = 1280;
constexpr float kBelowReference = -5.0f;
constexpr int kValueLabelChars = 12;
constexpr int kEndLabelChars = 8;

QString PercentText(double log10Fraction) {
    return QString::asprintf("%.4g %%", std::pow(10.0, log10Fraction) * 100.0);
}

QString DbText(float value) {
    return QString::asprintf("%.4g dB", static_cast<double>(value));
}

} // namespace

CCcdfGraph::CCcdfGraph(const QWidget* owner) : CGraph(owner, ColourSetScreen) {}

void CCcdfGraph::SetReference(const float* values, int count) {
    m_reference = values;
    m_referenceCount = values != nullptr ? count : 0;
}

bool CCcdfGraph::InPlotArea(const QPoint& point) const {
    return point.x() >= m_scale.PlotLeft() && point.x() <= m_scale.PlotRight() &&
           point.y() >= m_scale.PlotTop() && point.y() <= m_scale.PlotBottom();
}

bool CCcdfGraph::MoveMarker(int x) {
    int bestDistance = kMarkerReach;
    int best = -1;
    for (const auto& [index, pixel] : m_drawnPoints) {
        const int distance = std::abs(pixel.x() - x);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    }
    if (best < 0)
        return false;
    m_markerIndex = best;
    return true;
}

QPoint CCcdfGraph::Pixel(float x, float y) const {
    return {m_scale.PixelX(x), m_scale.PixelY(m_scale.ClampY(y))};
}

// Start, middle and end of the power axis, each on its own background box.
void CCcdfGraph::DrawXEndLabels(QPainter& painter) {
    const int line = m_scale.LineHeight();
    const int width = kEndLabelChars * m_scale.CharacterWidth();
    const int top = m_scale.PlotBottom() + 1;
    const float minimum = m_scale.XMinimum();
    const float maximum = m_scale.XMaximum();
    const QString start = m_xStartLabel.isEmpty() ? DbText(minimum) : m_xStartLabel;
    const QString end = m_xEndLabel.isEmpty() ? DbText(maximum) : m_xEndLabel;
    const int middle = m_scale.PlotLeft() + m_scale.PlotWidth() / 2;
    DrawTextBox(painter, QRect(m_scale.PlotLeft(), top, width, line), Qt::AlignLeft | Qt::AlignVCenter, start,
                m_colours.xLabel);
    // A plot too narrow for three labels leaves the middle one out rather than cut it.
    if (m_scale.PlotWidth() >= 3 * width)
        DrawTextBox(painter, QRect(middle - width / 2, top + 1, width, line),
                    Qt::AlignHCenter | Qt::AlignVCenter, DbText((minimum + maximum) / 2.0f),
                    m_colours.xLabel);
    DrawTextBox(painter, QRect(m_scale.PlotRight() - width, top + 2, width, line),
                Qt::AlignRight | Qt::AlignVCenter, end, m_colours.xLabel);
}

// One label per decade of probability, from the top of the plot down.
void CCcdfGraph::DrawValueLabels(QPainter& painter) {
    const int line = m_scale.LineHeight();
    const int left = m_scale.Left() + m_scale.CharacterWidth();
    const int width = kValueLabelChars * m_scale.CharacterWidth() - 1;
    const int flags = Qt::AlignRight | Qt::AlignVCenter;
    const double top = m_scale.YMaximum();
    const double bottom = m_scale.YMinimum();
    const int decades = static_cast<int>(std::fabs(top - bottom));
    DrawTextBox(painter, QRect(left, m_scale.PlotTop(), width, line), flags, PercentText(top),
                m_colours.yLabel);
    for (int i = 1; i < decades; ++i) {
        const int y = m_scale.PlotTop() + i * (m_scale.PlotHeight() / decades);
        DrawTextBox(painter, QRect(left, y - line / 2, width, line), flags, PercentText(top - i),
                    m_colours.yLabel);
    }
    DrawTextBox(painter, QRect(left, m_scale.PlotBottom() - line, width, line), flags, PercentText(bottom),
                m_colours.yLabel);
}

void CCcdfGraph::DrawSeries(QPainter& painter) {
    DrawReference(painter);
    DrawMeasuredCurve(painter);
    DrawMarker(painter);
}

void CCcdfGraph::DrawReference(QPainter& painter) const {
    if (m_reference == nullptr)
        return;
    QPolygon line;
    for (int i = 0; i < kReferenceSpan; ++i) {
        const float x = static_cast<float>(i) * CCcdfReference::kStepDb;
        if (!m_scale.InXRange(x))
            continue;
        line << Pixel(x, i < m_referenceCount ? m_reference[i] : kBelowReference);
    }
    painter.setPen(QPen(kReferenceColour, 0));
    painter.drawPolyline(line);
}

// Each point is drawn on its own (no merging of columns) so that the marker can find it.
void CCcdfGraph::DrawMeasuredCurve(QPainter& painter) {
    m_drawnPoints.clear();
    QPolygon line;
    for (int i = 0; i < m_series.pointCount; ++i) {
        const GraphPoint& point = m_series.points[i];
        if (!m_scale.InXRange(point.x))
            continue;
        line << Pixel(point.x, point.y);
        m_drawnPoints.emplace_back(i, line.back());
    }
    if (line.size() == 1)
        line << line.front();
    painter.setPen(QPen(m_colours.data, 0));
    painter.drawPolyline(line);
}

void CCcdfGraph::DrawMarker(QPainter& painter) {
    m_markerBox = QRect();
    const QPoint* marked = nullptr;
    for (const auto& [index, pixel] : m_drawnPoints) {
        if (m_markerIndex == -1 || index == m_markerIndex) {
            marked = &pixel;
            break;
        }
    }
    if (marked == nullptr)
        return;
    const int x = marked->x();
    const int y = marked->y();
    const QPoint caret[] = {{x - 4, y - 8}, {x + 4, y - 8}, {x, y}, {x - 4, y - 8}};
    painter.setPen(QPen(kMarkerColour, 0));
    painter.drawPolyline(caret, 4);
    m_markerBox = QRect(QPoint(x - 4, y - 8), QPoint(x + 4, y));
}
