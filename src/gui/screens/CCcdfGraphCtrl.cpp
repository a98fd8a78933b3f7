#include "gui/screens/CCcdfGraphCtrl.h"

#include "appcore/CStringTable.h"
#include "ccdf/CCcdfTexts.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CCcdfGraphCtrl::CCcdfGraphCtrl(QWidget* parent)
    : QWidget(parent), m_graph(this), m_reference(CCcdfReference::Curve()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    m_graph.SetReference(m_reference.data(), static_cast<int>(m_reference.size()));
    m_graph.SetCompact(true); // a small pane keeps its lower scale rather than cut it off
    m_series.title = CStringTable::GetGeneralText("S_GRAPH_HISTOGRAM");
    m_series.xAxisLabel = CStringTable::GetGeneralText("S_GRAPH_TIME");
    m_series.yAxisLabel = CStringTable::GetGeneralText("S_GRAPH_POWER");
    m_series.xMinimum = 0.0f;
    m_series.xMaximum = 0.0f;
    m_graph.SetSeries(m_series);
}

void CCcdfGraphCtrl::SetData(float xMinimum, float xMaximum, float yFirst, float ySecond,
                             const std::vector<CcdfPoint>& curve) {
    m_points.resize(curve.size());
    std::transform(curve.begin(), curve.end(), m_points.begin(), [](const CcdfPoint& point) {
        return GraphPoint{point.x, point.y};
    });
    // A marker beyond a shorter curve moves to its last point.
    const int last = static_cast<int>(m_points.size()) - 1;
    m_graph.SetMarkerIndex(std::min(m_graph.MarkerIndex(), last));
    m_series.title = Title();
    m_series.xAxisLabel = "Power : dB";
    m_series.yAxisLabel.clear();
    m_series.xMinimum = xMinimum;
    m_series.xMaximum = xMaximum;
    m_series.yFirst = yFirst;
    m_series.ySecond = ySecond;
    m_series.points = m_points.data();
    m_series.pointCount = static_cast<int>(m_points.size());
    UpdateSubtitle();
}

void CCcdfGraphCtrl::SetStale(bool stale) {
    if (stale == m_stale)
        return;
    m_stale = stale;
    m_series.title = Title();
    m_graph.SetSeries(m_series);
    Redraw();
}

std::string CCcdfGraphCtrl::Title() const {
    return m_stale ? CStringTable::GetGeneralText("S_CCDF_STALE") : std::string("CCDF Graph");
}

int CCcdfGraphCtrl::MarkerIndex() const {
    if (m_graph.MarkerIndex() >= 0)
        return m_graph.MarkerIndex();
    // Until the user moves it, the marker sits on the first point the graph draws.
    const auto shown = std::find_if(m_points.begin(), m_points.end(), [this](const GraphPoint& point) {
        return point.x >= m_series.xMinimum && point.x <= m_series.xMaximum;
    });
    return shown == m_points.end() ? -1 : static_cast<int>(shown - m_points.begin());
}

void CCcdfGraphCtrl::UpdateSubtitle() {
    const int index = MarkerIndex();
    m_series.subtitle.clear();
    if (index >= 0) {
        const GraphPoint& point = m_points[static_cast<size_t>(index)];
        m_series.subtitle = CCcdfTexts::MarkerSubtitle({point.x, point.y});
    }
    m_graph.SetSeries(m_series);
    Redraw();
}

void CCcdfGraphCtrl::Redraw() {
    const QSize logical = size().expandedTo(QSize(kMinSurfaceSize, kMinSurfaceSize));
    m_surface.Resize(logical, devicePixelRatioF());
    QPainter painter(&m_surface.Surface());
    m_graph.Draw(painter);
    update();
}

void CCcdfGraphCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_graph.Resize(0, 0, width(), height());
    Redraw();
}

void CCcdfGraphCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_surface.Present(painter);
}

void CCcdfGraphCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_graph.InPlotArea(event->position().toPoint())) {
        m_dragging = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event); // the right button's menu belongs to the screen
}

void CCcdfGraphCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && m_graph.MoveMarker(event->position().toPoint().x()))
        UpdateSubtitle();
    QWidget::mouseMoveEvent(event);
}

void CCcdfGraphCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        Redraw();
    }
    QWidget::mouseReleaseEvent(event);
}
