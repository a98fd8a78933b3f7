#include "gui/history/CGraph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QColor kAverageColour(0, 220, 0);
const QColor kLimitColour(255, 0, 0);
constexpr int kFontPoints = 10;
constexpr int kEndLabelChars = 8;

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CGraph::CGraph(const QWidget* owner, int colourSet) : m_colours(ColoursOf(colourSet)) {
    SetFont(owner != nullptr ? owner->logicalDpiY() : 96);
    m_scale.Resize(0, 0, CGraphScale::kMinWidth, CGraphScale::kMinHeight);
    m_series.xMinimum = -100.0f;
    m_series.xMaximum = 100.0f;
}

CGraph::Colours CGraph::ColoursOf(int colourSet) {
    if (colourSet == ColourSetPrint) {
        const QColor black(0, 0, 0);
        return {QColor(255, 255, 255), black, black, black, black, black, black, black, black};
    }
    const QColor light(210, 210, 210);
    return {QColor(28, 61, 114), light, light, light, light, light, light, light, QColor(255, 255, 0)};
}

void CGraph::SetColourSet(int colourSet) {
    m_colours = ColoursOf(colourSet);
}

void CGraph::SetFont(int dotsPerInchY) {
    m_dotsPerInchY = dotsPerInchY > 0 ? dotsPerInchY : 96;
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setWeight(QFont::Normal);
    m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(kFontPoints * m_dotsPerInchY / 72.0))));
    const QFontMetrics metrics(m_font);
    m_scale.SetFontMetrics(metrics.averageCharWidth(), metrics.height());
}

bool CGraph::SetSeries(const GraphSeries& series) {
    if (series.kind >= kMaxSeriesKind || series.style >= kMaxSeriesStyle)
        return false;
    if (series.pointCount < 0 || (series.pointCount > 0 && series.points == nullptr))
        return false;
    m_series = series;
    m_pyramid.Clear();
    m_pyramidChecked = false;
    m_title = Utf8(series.title);
    m_xAxisLabel = Utf8(series.xAxisLabel);
    m_yAxisLabel = Utf8(series.yAxisLabel);
    m_subtitle = Utf8(series.subtitle);
    m_scale.SetXRange(series.xMinimum, series.xMaximum);
    m_scale.SetYRange(series.yFirst, series.ySecond);
    return true;
}

bool CGraph::ShowView(const GraphView& view) {
    SetXEndLabels(view.xStartLabel, view.xEndLabel);
    SetUnit(view.unit);
    SetAverage(view.average, view.averageShown);
    SetLimitLines(view.lowLimit, view.highLimit);
    EnableLimitLines(view.limitEnabled);
    return SetSeries(view.series);
}

void CGraph::SetXEndLabels(const std::string& start, const std::string& end) {
    m_xStartLabel = Utf8(start);
    m_xEndLabel = Utf8(end);
}

void CGraph::SetSubtitle(const std::string& subtitle) {
    m_series.subtitle = subtitle;
    m_subtitle = Utf8(subtitle);
}

void CGraph::SetUnit(const std::string& unit) {
    m_unit = Utf8(unit);
}

void CGraph::SetAverage(float value, bool shown) {
    m_average = value;
    m_averageShown = shown;
}

void CGraph::SetLimitLines(float low, float high) {
    m_lowLimit = low;
    m_highLimit = high;
}

void CGraph::EnableLimitLines(bool enabled) {
    m_limitsEnabled = enabled;
}

void CGraph::ShowXRange(float first, float last) {
    m_series.xMinimum = first;
    m_series.xMaximum = last;
    m_scale.SetXRange(first, last);
}

void CGraph::Resize(int left, int top, int width, int height) {
    m_scale.Resize(left, top, width, height);
}

void CGraph::Draw(QPainter& painter) {
    DrawStaticLayer(painter);
    DrawDataLayer(painter);
}

void CGraph::DrawStaticLayer(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(m_font);
    DrawBackground(painter);
    DrawFrameAndGrid(painter);
    DrawTitle(painter);
    DrawSubtitle(painter);
    DrawXAxisLabel(painter);
    DrawYAxisLabel(painter);
    DrawXEndLabels(painter);
    DrawValueLabels(painter);
    painter.restore();
}

void CGraph::DrawDataLayer(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(m_font);
    DrawAverageLine(painter);
    DrawSeries(painter);
    DrawLimitLines(painter);
    painter.restore();
}

CGraph::StaticLayerKey CGraph::StaticKey() const {
    const auto [start, end] = EndLabelTexts();
    return {QRect(m_scale.Left(), m_scale.Top(), m_scale.Width(), m_scale.Height()),
            m_dotsPerInchY,
            {m_colours.background.rgba(), m_colours.frame.rgba(), m_colours.title.rgba(),
             m_colours.subtitle.rgba(), m_colours.xLabel.rgba(), m_colours.yLabel.rgba()},
            m_gridOn,
            m_scale.YMinimum(),
            m_scale.YMaximum(),
            {m_title, m_subtitle, m_xAxisLabel, m_yAxisLabel, start, end, m_unit}};
}

std::pair<QString, QString> CGraph::EndLabelTexts() const {
    const QString start = m_xStartLabel.isEmpty()
                              ? QString::asprintf("%.4g", static_cast<double>(m_scale.XMinimum()))
                              : m_xStartLabel;
    const QString end = m_xEndLabel.isEmpty()
                            ? QString::asprintf("%.4g", static_cast<double>(m_scale.XMaximum()))
                            : m_xEndLabel;
    return {start, end};
}

void CGraph::Print(QPainter& painter, const QRect& rect) {
    const CGraphScale screenScale = m_scale;
    const int screenDpi = m_dotsPerInchY;
    SetFont(painter.device()->logicalDpiY());
    m_scale.Resize(rect.left(), rect.top(), rect.width(), rect.height());
    SetColourSet(ColourSetPrint);
    Draw(painter);
    SetColourSet(ColourSetDefault);
    SetFont(screenDpi);
    m_scale = screenScale;
}

QImage CGraph::RenderImage(const QSize& size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(m_colours.background);
    const CGraphScale previous = m_scale;
    m_scale.Resize(0, 0, size.width(), size.height());
    {
        QPainter painter(&image);
        Draw(painter);
    }
    m_scale = previous;
    return image;
}

void CGraph::DrawBackground(QPainter& painter) {
    painter.fillRect(QRect(m_scale.Left(), m_scale.Top(), m_scale.Width(), m_scale.Height()),
                     m_colours.background);
}

void CGraph::DrawFrameAndGrid(QPainter& painter) {
    const int left = m_scale.PlotLeft();
    const int top = m_scale.PlotTop();
    const int right = m_scale.PlotRight();
    const int bottom = m_scale.PlotBottom();
    painter.setPen(QPen(m_colours.frame, 0));
    const QPoint frame[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    painter.drawPolyline(frame, 5);
    if (!m_gridOn)
        return;
    for (int i = 1; i < CGraphScale::kGridDivisions; ++i) {
        const int x = left + i * m_scale.PlotWidth() / CGraphScale::kGridDivisions;
        const int y = top + i * m_scale.PlotHeight() / CGraphScale::kGridDivisions;
        painter.drawLine(x, top, x, bottom);
        painter.drawLine(left, y, right, y);
    }
}

void CGraph::DrawTextBox(QPainter& painter, const QRect& box, int flags, const QString& text,
                         const QColor& colour) const {
    painter.fillRect(box, m_colours.background);
    painter.setPen(colour);
    painter.drawText(box, flags | Qt::TextSingleLine, text);
}

void CGraph::DrawTitle(QPainter& painter) {
    const int line = m_scale.LineHeight();
    const QRect band(m_scale.PlotLeft(), m_scale.Top() + line, m_scale.PlotWidth(), line);
    const QString text = QFontMetrics(m_font).elidedText(m_title, Qt::ElideRight, band.width());
    DrawTextBox(painter, band, Qt::AlignHCenter | Qt::AlignVCenter, text, m_colours.title);
}

void CGraph::DrawSubtitle(QPainter& painter) {
    const int line = m_scale.LineHeight();
    const int bottom = m_scale.PlotTop() - line / 2 - 2;
    const QRect band(m_scale.PlotLeft(), bottom - line, m_scale.PlotWidth(), line);
    const QString text = QFontMetrics(m_font).elidedText(m_subtitle, Qt::ElideRight, band.width());
    DrawTextBox(painter, band, Qt::AlignHCenter | Qt::AlignVCenter, text, m_colours.subtitle);
}

void CGraph::DrawXAxisLabel(QPainter& painter) {
    const int line = m_scale.LineHeight();
    const int top = m_scale.Top() + m_scale.Height() - 2 * line + 2;
    const QRect band(m_scale.PlotLeft(), top, m_scale.PlotWidth(), line);
    const QString text = QFontMetrics(m_font).elidedText(m_xAxisLabel, Qt::ElideRight, band.width());
    DrawTextBox(painter, band, Qt::AlignHCenter | Qt::AlignVCenter, text, m_colours.xLabel);
}

void CGraph::DrawYAxisLabel(QPainter& painter) {
    const int line = m_scale.LineHeight();
    // Two lines clear of the plot's corners, less on a low plot so that the label stays whole.
    const int wanted = QFontMetrics(m_font).horizontalAdvance(m_yAxisLabel);
    const int margin = std::clamp((m_scale.PlotHeight() - wanted) / 2, 0, 2 * line);
    const int upper = m_scale.PlotTop() + margin;
    const int lower = m_scale.PlotBottom() - margin;
    const int length = std::max(lower - upper, 0);
    const QString text = QFontMetrics(m_font).elidedText(m_yAxisLabel, Qt::ElideRight, length);
    painter.save();
    // Rotated a quarter turn counter-clockwise: the text reads upwards, centred on the band.
    painter.translate(m_scale.Left() + m_scale.CharacterWidth(), lower);
    painter.rotate(-90.0);
    DrawTextBox(painter, QRect(0, 0, length, line), Qt::AlignHCenter | Qt::AlignVCenter, text,
                m_colours.yLabel);
    painter.restore();
}

void CGraph::DrawXEndLabels(QPainter& painter) {
    const QFontMetrics metrics(m_font);
    const int line = m_scale.LineHeight();
    const int top = m_scale.PlotBottom() + 1;
    const auto [start, end] = EndLabelTexts();
    const int minimum = kEndLabelChars * m_scale.CharacterWidth();
    const int startWidth = std::max(minimum, metrics.horizontalAdvance(start));
    const int endWidth = std::max(minimum, metrics.horizontalAdvance(end));
    DrawTextBox(painter, QRect(m_scale.PlotLeft(), top, startWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                start, m_colours.xLabel);
    DrawTextBox(painter, QRect(m_scale.PlotRight() - endWidth, top, endWidth, line),
                Qt::AlignRight | Qt::AlignVCenter, end, m_colours.xLabel);
}

QString CGraph::ValueText(float value) const {
    return QString::asprintf("%.4g %s", static_cast<double>(value), m_unit.toUtf8().constData());
}

void CGraph::DrawValueLabels(QPainter& painter) {
    const QFontMetrics metrics(m_font);
    const int line = m_scale.LineHeight();
    const int right = m_scale.PlotLeft() - m_scale.CharacterWidth();
    // On a low plot every second or fifth grid line is labelled, so that labels do not overlap.
    int step = 1;
    for (int candidate : {2, 5, CGraphScale::kGridDivisions}) {
        if (step * m_scale.PlotHeight() >= line * CGraphScale::kGridDivisions)
            break;
        step = candidate;
    }
    for (int i = 0; i <= CGraphScale::kGridDivisions; i += step) {
        const int y = m_scale.PlotTop() + i * m_scale.PlotHeight() / CGraphScale::kGridDivisions;
        const QString text = ValueText(m_scale.YLabelValue(i));
        // Only the text's own box is filled, so the rotated axis label beside it survives.
        const int width = metrics.horizontalAdvance(text);
        DrawTextBox(painter, QRect(right - width, y - line / 2, width, line),
                    Qt::AlignRight | Qt::AlignVCenter, text, m_colours.yLabel);
    }
}

void CGraph::DrawHorizontalLine(QPainter& painter, float value, const QColor& colour) const {
    const int y = m_scale.PixelY(value);
    painter.setPen(QPen(colour, 0));
    painter.drawLine(m_scale.PixelX(m_scale.XMinimum()), y, m_scale.PixelX(m_scale.XMaximum()), y);
}

void CGraph::DrawAverageLine(QPainter& painter) {
    if (!m_averageShown)
        return;
    const float value = m_scale.ClampY(m_average);
    DrawHorizontalLine(painter, value, kAverageColour);
    const QString text =
        QString::asprintf("Avg. : %.2f %s", static_cast<double>(m_average), m_unit.toUtf8().constData());
    const QFontMetrics metrics(m_font);
    const int width = metrics.horizontalAdvance(text);
    const int right = m_scale.PixelX(m_scale.XMaximum()) - 1;
    const int bottom = m_scale.PixelY(value) - 2;
    const QRect box(right - width, bottom - m_scale.LineHeight(), width, m_scale.LineHeight());
    DrawTextBox(painter, box, Qt::AlignRight | Qt::AlignVCenter, text, kAverageColour);
}

void CGraph::DrawSeries(QPainter& painter) {
    if (m_series.kind != kSeriesKindSampled)
        return;
    if (!m_pyramidChecked) {
        m_pyramidChecked = true;
        if (m_series.pointCount >= kPyramidMinPoints)
            m_pyramid.Build(m_series.points, m_series.pointCount);
    }
    DrawCurve(painter, m_series.points, m_series.pointCount, m_colours.data);
}

void CGraph::DrawCurve(QPainter& painter, const GraphPoint* points, int count, const QColor& colour) const {
    if (points == nullptr || count <= 0)
        return;
    CurveStrokes strokes;
    const double xScale = m_scale.XScale();
    if (points == m_series.points && count == m_series.pointCount && m_pyramid.IsBuilt() && xScale > 0.0 &&
        std::isfinite(xScale))
        CollectColumns(points, count, strokes);
    else
        CollectPoints(points, count, strokes);
    if (strokes.lines.empty() && strokes.spans.empty())
        return;
    painter.save();
    painter.setPen(QPen(colour, 0));
    painter.drawLines(strokes.lines.data(), static_cast<int>(strokes.lines.size()));
    // The column spans are filled, which costs far less than rasterising them as lines.
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRects(strokes.spans.data(), static_cast<int>(strokes.spans.size()));
    painter.restore();
}

void CGraph::CurveStrokes::Add(int x, int firstY, int lastOfColumnY, int lowY, int highY) {
    if (started) {
        Flush();
        lines.emplace_back(column, lastY, x, firstY);
    }
    started = true;
    column = x;
    low = lowY;
    high = highY;
    lastY = lastOfColumnY;
}

void CGraph::CurveStrokes::Extend(int y) {
    low = std::min(low, y);
    high = std::max(high, y);
    lastY = y;
}

void CGraph::CurveStrokes::Flush() {
    if (!started)
        return;
    spans.emplace_back(column, low, 1, high - low + 1);
}

void CGraph::CollectPoints(const GraphPoint* points, int count, CurveStrokes& strokes) const {
    strokes.lines.reserve(static_cast<std::size_t>(std::min(count, 2 * m_scale.PlotWidth() + 4)));
    for (int i = 0; i < count; ++i)
        if (m_scale.InXRange(points[i].x))
            CollectPoint(points[i], strokes);
    strokes.Flush();
}

void CGraph::CollectPoint(const GraphPoint& point, CurveStrokes& strokes) const {
    if (std::isnan(point.y)) { // no reading: the line breaks
        strokes.Flush();
        strokes.started = false;
        return;
    }
    const int x = m_scale.PixelX(point.x);
    const int y = m_scale.PixelY(m_scale.ClampY(point.y));
    if (strokes.started && x == strokes.column)
        strokes.Extend(y);
    else
        strokes.Add(x, y, y, y, y);
}

// The same strokes as CollectPoints, one pixel column at a time: the points of a column are
// found by bisection (x increases) and their extremes come from the pyramid. A column with a
// point without a reading is taken point by point, so that the line breaks there as well.
void CGraph::CollectColumns(const GraphPoint* points, int count, CurveStrokes& strokes) const {
    const GraphPoint* end = points + count;
    const GraphPoint* first =
        std::partition_point(points, end, [&](const GraphPoint& p) { return p.x < m_scale.XMinimum(); });
    const GraphPoint* last =
        std::partition_point(first, end, [&](const GraphPoint& p) { return p.x <= m_scale.XMaximum(); });
    strokes.lines.reserve(2 * static_cast<std::size_t>(std::max(0, m_scale.PlotWidth())) + 4);
    const auto pixelY = [&](float y) { return m_scale.PixelY(m_scale.ClampY(y)); };
    while (first < last) {
        const int column = m_scale.PixelX(first->x);
        const GraphPoint* next = std::partition_point(
            first, last, [&](const GraphPoint& p) { return m_scale.PixelX(p.x) == column; });
        const int firstIndex = static_cast<int>(first - points);
        const int nextIndex = static_cast<int>(next - points);
        if (m_pyramid.HasGap(firstIndex, nextIndex)) {
            std::for_each(first, next, [&](const GraphPoint& point) { CollectPoint(point, strokes); });
            first = next;
            continue;
        }
        const CMinMaxPyramid::Span span = m_pyramid.Range(firstIndex, nextIndex);
        const int a = pixelY(span.low);
        const int b = pixelY(span.high);
        strokes.Add(column, pixelY(first->y), pixelY((next - 1)->y), std::min(a, b), std::max(a, b));
        first = next;
    }
    strokes.Flush();
}

void CGraph::DrawLimitLines(QPainter& painter) {
    if (!m_limitsEnabled)
        return;
    for (const float limit : {m_lowLimit, m_highLimit}) {
        if (m_scale.InYRange(limit))
            DrawHorizontalLine(painter, limit, kLimitColour);
    }
}
