#include "gui/screens/CRelativeGraph.h"

#include "appcore/CRelativeReadout.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kShownRows = 300;
// A record just begun fills the graph from the left at this many rows across.
constexpr int kFewestRowsAcross = 60;
constexpr int kMargin = 8;
} // namespace

CRelativeGraph::CRelativeGraph(const CRelativeReadout& readout, QWidget* parent)
    : QWidget(parent), m_readout(readout) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CRelativeGraph::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const auto series = m_readout.Records().Series(ChannelAvg);
    const std::size_t first = series.size() > kShownRows ? series.size() - kShownRows : 0;
    const CRelativeReadout::Unit unit = m_readout.GetUnit();
    const RangeLimitItem& limits = m_readout.Limits();
    // The scale spans what is shown and the limits, so that both stay in view.
    float low = limits.limitEnabled ? limits.lowLimit : INFINITY;
    float high = limits.limitEnabled ? limits.highLimit : -INFINITY;
    for (std::size_t row = first; row < series.size(); ++row)
        if (!std::isnan(series[row])) {
            low = std::min(low, CRelativeReadout::InUnit(series[row], unit));
            high = std::max(high, CRelativeReadout::InUnit(series[row], unit));
        }
    if (!std::isfinite(low) || !std::isfinite(high))
        return;
    const float span = std::max(high - low, 0.1f);
    low -= span * 0.1f;
    high += span * 0.1f;
    const QRectF area = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const auto y = [&](float value) { return area.bottom() - (value - low) / (high - low) * area.height(); };
    const double across = std::max<double>(kFewestRowsAcross, static_cast<double>(series.size() - first)) - 1;
    const auto x = [&](std::size_t row) {
        return area.left() + area.width() * static_cast<double>(row - first) / across;
    };
    painter.setRenderHint(QPainter::Antialiasing);
    if (limits.limitEnabled) {
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        for (const float limit : {limits.lowLimit, limits.highLimit})
            painter.drawLine(QPointF(area.left(), y(limit)), QPointF(area.right(), y(limit)));
    }
    QPainterPath path;
    bool drawing = false;
    for (std::size_t row = first; row < series.size(); ++row) {
        if (std::isnan(series[row])) {
            drawing = false;
            continue;
        }
        const QPointF point(x(row), y(CRelativeReadout::InUnit(series[row], unit)));
        if (drawing)
            path.lineTo(point);
        else
            path.moveTo(point);
        drawing = true;
    }
    painter.setPen(QPen(QColor(0, 230, 0), 1.5));
    painter.drawPath(path);
    painter.setPen(Qt::lightGray);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, QString::number(static_cast<double>(high), 'f', 2));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignBottom,
                     QString::number(static_cast<double>(low), 'f', 2));
}
