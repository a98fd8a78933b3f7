#include "gui/screens/CAnalogGuage.h"

#include "gui/kit/CPaintPacer.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr uint32_t kNeedleColor = 0xFFFF0000;
constexpr uint32_t kGlassTop = 0x28C8C8C8;    // alpha 40
constexpr uint32_t kGlassBottom = 0x00C8C8C8; // alpha 0
constexpr int kHaloAlpha = 70;

QColor Argb(uint32_t argb) {
    return QColor::fromRgba(argb);
}

QPointF ToPoint(const GaugePoint& point) {
    return {point.x, point.y};
}

// A gradient running at 45 degrees (down and to the right) whatever the rectangle's shape,
// its ends on the lines through the top-left and bottom-right corners.
QLinearGradient Gradient45(const QRectF& rect, uint32_t from, uint32_t to) {
    const QPointF direction(M_SQRT1_2, M_SQRT1_2);
    const QPointF diagonal = rect.bottomRight() - rect.topLeft();
    const qreal length = diagonal.x() * direction.x() + diagonal.y() * direction.y();
    QLinearGradient gradient(rect.topLeft(), rect.topLeft() + direction * length);
    gradient.setColorAt(0.0, Argb(from));
    gradient.setColorAt(1.0, Argb(to));
    return gradient;
}

// Point sizes are those of a 96 dpi bitmap, so the dial looks the same on every screen.
QFont GaugeFont(const QString& family, QFont::StyleHint hint, float points) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0f / 72.0f))));
    return font;
}

bool IsOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!std::all_of(line, line + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return false;
    }
    return true;
}

// A layer with nothing to see through is kept without alpha, so that each repaint copies it
// instead of blending it: the same pixels, for less work.
QPixmap WithoutAlphaIfOpaque(const QPixmap& layer) {
    const QImage image = layer.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!IsOpaque(image))
        return layer;
    QPixmap opaque = QPixmap::fromImage(image.convertToFormat(QImage::Format_RGB32));
    opaque.setDevicePixelRatio(layer.devicePixelRatio());
    return opaque;
}

} // namespace

CAnalogGuage::CAnalogGuage(CPaintPacer& pacer, QWidget* parent) : QWidget(parent), m_pacer(pacer) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    m_layout.Recalc(width(), height());
}

void CAnalogGuage::SetValue(double value) {
    // A missing reading rests the needle at the bottom of the scale.
    if (std::isnan(value))
        value = m_min;
    if (value > m_max)
        value = m_max;
    if (value < m_min)
        value = m_min;
    if (value == m_value)
        return;
    m_value = value;
    // Layers waiting for a rebuild need the whole gauge; else only where the needle was and goes.
    if (!m_layersValid) {
        m_shownValue = value;
        m_pacer.Request(this);
        return;
    }
    // A smaller step of the tip changes no more than the shade of the needle's edge pixels;
    // the area repainted for the next larger one still covers where the needle is drawn.
    constexpr qreal kVisibleTipMove = 0.25;
    const QPointF shift = NeedleCorners(value)[2] - NeedleCorners(m_shownValue)[2];
    if (std::hypot(shift.x(), shift.y()) < kVisibleTipMove)
        return;
    const QRect before = NeedleArea(m_shownValue);
    m_shownValue = value;
    m_pacer.Request(this, before | NeedleArea(value));
}

// Centre, one side of the base, tip, other side of the base.
std::array<QPointF, 4> CAnalogGuage::NeedleCorners(double value) const {
    const GaugeRect& dial = m_layout.Dial();
    const float length = dial.width / 2.0f - dial.width * 0.12f;
    const float base = dial.width * 0.09f;
    const float angle = CGaugeLayout::ValueAngle(value, m_min, m_max);
    const GaugePoint& centre = m_layout.Centre();
    return {ToPoint(centre), ToPoint(CGaugeLayout::PointAt(centre, base, angle + 10.0f)),
            ToPoint(CGaugeLayout::PointAt(centre, length, angle)),
            ToPoint(CGaugeLayout::PointAt(centre, base, angle - 10.0f))};
}

// The needle's outline with room for its pen and the antialiased edge.
QRect CAnalogGuage::NeedleArea(double value) const {
    const std::array<QPointF, 4> corners = NeedleCorners(value);
    QPointF low = corners[0];
    QPointF high = corners[0];
    for (const QPointF& corner : corners) {
        low = {std::min(low.x(), corner.x()), std::min(low.y(), corner.y())};
        high = {std::max(high.x(), corner.x()), std::max(high.y(), corner.y())};
    }
    return QRectF(low, high).toAlignedRect().adjusted(-2, -2, 2, 2);
}

void CAnalogGuage::SetMinValue(double minimum) {
    if (minimum == m_min)
        return;
    m_min = minimum;
    InvalidateLayers();
}

void CAnalogGuage::SetMaxValue(double maximum) {
    if (maximum == m_max)
        return;
    m_max = maximum;
    InvalidateLayers();
}

void CAnalogGuage::SetBackColor(uint32_t argb) {
    m_backColor = argb;
    InvalidateLayers();
}

void CAnalogGuage::AddBand(double low, double high, uint32_t argb) {
    m_bands.Append(MeterThreshold{argb, low, high});
    m_layersValid = false;
}

void CAnalogGuage::ClearBands() {
    m_bands.RemoveAll();
    m_layersValid = false;
}

void CAnalogGuage::SetCaption(const QString& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_layersValid = false;
}

void CAnalogGuage::InvalidateLayers() {
    m_layersValid = false;
    update();
}

void CAnalogGuage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RecalcLayout();
    InvalidateLayers();
}

void CAnalogGuage::RecalcLayout() {
    m_layout.Recalc(width(), height());
}

QRectF CAnalogGuage::ToRect(const GaugeRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

QPixmap CAnalogGuage::NewLayer() const {
    const qreal ratio = devicePixelRatioF();
    QPixmap layer(QSize(static_cast<int>(std::ceil(m_layout.Width() * ratio)),
                        static_cast<int>(std::ceil(m_layout.Height() * ratio))));
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    return layer;
}

void CAnalogGuage::BuildLayers() {
    const bool ratioChanged = m_underNeedle.devicePixelRatio() != devicePixelRatioF();
    if (m_layersValid && !ratioChanged)
        return;
    const QRectF client(0.0, 0.0, m_layout.Width(), m_layout.Height());
    const QRectF dial = ToRect(m_layout.Dial());
    m_underNeedle = NewLayer();
    {
        QPainter painter(&m_underNeedle);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        DrawBackground(painter, client);
        DrawFace(painter, dial);
        DrawBands(painter, dial);
        DrawScale(painter, dial);
        DrawCaption(painter, dial);
    }
    m_underNeedle = WithoutAlphaIfOpaque(m_underNeedle);
    m_overNeedle = NewLayer();
    {
        QPainter painter(&m_overNeedle);
        painter.setRenderHint(QPainter::Antialiasing);
        DrawHub(painter, ToRect(m_layout.Hub()));
        DrawGlass(painter, ToRect(m_layout.Glass()));
    }
    ComposeWithoutNeedle();
    m_layersValid = true;
}

// Painted over an opaque layer, pixels come out the same wherever they are painted, so parts
// of the gauge drawn beforehand can be copied in place of drawing them again.
void CAnalogGuage::ComposeWithoutNeedle() {
    m_tiles.clear();
    m_tileBytes = 0;
    m_withoutNeedle = QImage();
    if (m_underNeedle.hasAlphaChannel() || m_underNeedle.devicePixelRatio() != 1.0)
        return;
    m_withoutNeedle = m_underNeedle.toImage().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&m_withoutNeedle);
    painter.drawPixmap(0, 0, m_overNeedle);
}

const CAnalogGuage::NeedleTile& CAnalogGuage::TileFor(double value) {
    for (const NeedleTile& tile : m_tiles) {
        if (tile.value == value)
            return tile;
    }
    NeedleTile tile{value, NeedleArea(value) & m_withoutNeedle.rect(), QImage()};
    tile.image = QImage(tile.area.size(), QImage::Format_RGB32);
    if (!tile.area.isEmpty()) {
        QPainter painter(&tile.image);
        painter.translate(-tile.area.topLeft());
        PaintLayers(painter);
    }
    m_tileBytes += tile.image.sizeInBytes();
    m_tiles.push_back(std::move(tile));
    while (m_tileBytes > kNeedleTileBytes && m_tiles.size() > 1) {
        m_tileBytes -= m_tiles.front().image.sizeInBytes();
        m_tiles.pop_front();
    }
    return m_tiles.back();
}

void CAnalogGuage::PaintLayers(QPainter& painter) {
    painter.drawPixmap(0, 0, m_underNeedle);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    DrawNeedle(painter);
    painter.restore();
    painter.drawPixmap(0, 0, m_overNeedle);
}

void CAnalogGuage::PaintGauge(QPainter& painter) {
    BuildLayers();
    if (m_withoutNeedle.isNull()) {
        PaintLayers(painter);
        return;
    }
    painter.drawImage(0, 0, m_withoutNeedle);
    const NeedleTile& tile = TileFor(m_value);
    painter.drawImage(tile.area.topLeft(), tile.image);
}

void CAnalogGuage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGauge(painter);
}

QImage CAnalogGuage::Render() {
    BuildLayers();
    QImage image(m_layout.Width(), m_layout.Height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintLayers(painter);
    return image;
}

void CAnalogGuage::DrawBackground(QPainter& painter, const QRectF& rect) {
    painter.setPen(QPen(Argb(m_backColor), 1.0));
    painter.setBrush(Argb(m_backColor));
    painter.drawRect(rect);
}

void CAnalogGuage::DrawFace(QPainter& painter, const QRectF& rect) {
    const float s = m_layout.Scale();
    const uint32_t dark = CGaugeLayout::ShadeColor(m_faceColor, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gradient45(rect, m_faceColor, dark));
    painter.drawEllipse(rect);
    const QRectF inner = rect.adjusted(3.0 * s, 3.0 * s, -3.0 * s, -3.0 * s);
    painter.setBrush(Gradient45(inner, dark, m_faceColor));
    painter.drawEllipse(inner);
}

void CAnalogGuage::DrawBands(QPainter& painter, const QRectF& rect) {
    const float s = m_layout.Scale();
    const qreal inset = 18.0 * s;
    const QRectF arcRect = rect.adjusted(inset, inset, -inset, -inset);
    painter.setBrush(Qt::NoBrush);
    for (const MeterThreshold& band : m_bands) {
        GaugeArc arc;
        if (!CGaugeLayout::BandArc(band.low, band.high, m_min, m_max, arc))
            return;
        // Angles grow clockwise on screen; the path's arcs run counter-clockwise.
        QPainterPath path;
        path.arcMoveTo(arcRect, -arc.start);
        path.arcTo(arcRect, -arc.start, -arc.sweep);
        painter.setPen(QPen(Argb(band.colour), 4.5 * s, Qt::SolidLine, Qt::FlatCap));
        painter.drawPath(path);
    }
}

void CAnalogGuage::DrawScale(QPainter& painter, const QRectF& rect) {
    const float s = m_layout.Scale();
    const auto w = static_cast<float>(rect.width());
    const float outer = w / 2.0f - w * 0.08f;
    const float majorInner = outer - w / 20.0f;
    const float minorInner = outer - w / 50.0f;
    const float labelRadius = outer - 20.0f * s;
    const float step = CGaugeLayout::TickStep(m_majorTicks, m_minorTicks);
    const GaugePoint& centre = m_layout.Centre();
    const auto tick = [&](float angle, float inner) {
        painter.drawLine(ToPoint(CGaugeLayout::PointAt(centre, outer, angle)),
                         ToPoint(CGaugeLayout::PointAt(centre, inner, angle)));
    };

    painter.setPen(QPen(Argb(m_textColor), s));
    painter.setBrush(Argb(m_textColor));
    const QFont font = GaugeFont(QStringLiteral("Courier"), QFont::TypeWriter, 6.0f * s);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const std::vector<std::string> labels = CGaugeLayout::MajorLabels(m_min, m_max, m_majorTicks);
    float angle = CGaugeLayout::kStartAngle;
    for (int i = 0; i < m_majorTicks; ++i) {
        tick(angle, majorInner);
        const QString label = QString::fromStdString(labels[static_cast<std::size_t>(i)]);
        const QSizeF size = metrics.size(Qt::TextSingleLine, label);
        const QPointF at = ToPoint(CGaugeLayout::PointAt(centre, labelRadius, angle));
        painter.drawText(QRectF(at - QPointF(size.width() / 2.0, size.height() / 2.0), size), Qt::AlignCenter,
                         label);
        if (i == m_majorTicks - 1)
            break;
        for (int minor = 0; minor <= m_minorTicks; ++minor) {
            angle += step;
            tick(angle, minorInner);
        }
    }
}

void CAnalogGuage::DrawCaption(QPainter& painter, const QRectF& rect) {
    const QFont font = GaugeFont(QStringLiteral("Arial"), QFont::SansSerif, 10.0f * m_layout.Scale());
    painter.setFont(font);
    painter.setPen(Argb(m_textColor));
    const QSizeF size = QFontMetricsF(font).size(Qt::TextSingleLine, m_caption);
    const QPointF topLeft(rect.x() + rect.width() / 2.0 - size.width() / 2.0,
                          rect.y() + rect.height() * 4.0 / 5.0);
    painter.drawText(QRectF(topLeft, size), Qt::AlignLeft | Qt::AlignTop, m_caption);
}

void CAnalogGuage::DrawNeedle(QPainter& painter) {
    const std::array<QPointF, 4> corners = NeedleCorners(m_value);
    QPainterPath path(corners[0]);
    for (std::size_t i = 1; i < corners.size(); ++i)
        path.lineTo(corners[i]);
    path.closeSubpath();
    painter.setPen(QPen(Argb(kNeedleColor), 1.0));
    painter.setBrush(Argb(kNeedleColor));
    painter.drawPath(path);
}

void CAnalogGuage::DrawHub(QPainter& painter, const QRectF& rect) {
    const qreal grow = 5.0 * m_layout.Scale();
    QColor halo = Argb(m_hubColor);
    halo.setAlpha(kHaloAlpha);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(rect.adjusted(-grow, -grow, grow, grow));
    painter.setBrush(Gradient45(rect, m_hubColor, CGaugeLayout::ShadeColor(m_hubColor, 75)));
    painter.drawEllipse(rect);
}

void CAnalogGuage::DrawGlass(QPainter& painter, const QRectF& rect) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gradient45(rect, kGlassTop, kGlassBottom));
    painter.drawEllipse(rect);
}
