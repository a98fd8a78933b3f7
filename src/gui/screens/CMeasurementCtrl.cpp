#include "gui/screens/CMeasurementCtrl.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <vector>

#include "gui/kit/CPaintPacer.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"

namespace {

const QColor kPanelColour(28, 60, 114);
const QColor kSelectionColour(0, 255, 0);
constexpr uint32_t kGaugeBackground = 0xFF1C3D72; // the panel's blue

QColor FromRgb(uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

bool IsQuantity(int quantity) {
    return quantity >= 0 && quantity < kChannelCount;
}

// Glyphs may reach a little past their advance and line height.
constexpr int kInkMargin = 2;

// Only Latin-1 texts are compared glyph by glyph: they run left to right, a character each.
bool IsLatin1(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

// Where two texts drawn at the same place differ, in x along the line: their common start,
// and their common end where it stays in place, look the same drawn either way. One more
// character is counted on each side, which kerning or a ligature may have joined to a
// changed one.
std::pair<qreal, qreal> ChangedSpan(const LaidOutText& before, const LaidOutText& after) {
    const QString& a = before.layout.text();
    const QString& b = after.layout.text();
    const std::vector<qreal>& xA = before.cursorX;
    const std::vector<qreal>& xB = after.cursorX;
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype sameHead = 0;
    while (sameHead < common && a[sameHead] == b[sameHead])
        ++sameHead;
    qsizetype sameTail = 0;
    while (sameTail < common - sameHead && a[a.size() - 1 - sameTail] == b[b.size() - 1 - sameTail])
        ++sameTail;
    const auto head = static_cast<std::size_t>(sameHead);
    const auto tail = static_cast<std::size_t>(sameTail);
    const std::size_t start = head > 0 ? head - 1 : 0;
    const qreal from = std::min(xA[start], xB[start]);
    const std::size_t tailA = xA.size() - 1 - tail;
    const std::size_t tailB = xB.size() - 1 - tail;
    if (tail == 0 || xA[tailA] != xB[tailB])
        return {from, std::max(before.layout.lineAt(0).horizontalAdvance(),
                               after.layout.lineAt(0).horizontalAdvance())};
    return {from, std::max(xA[tailA + 1], xB[tailB + 1])};
}

} // namespace

CMeasurementCtrl::CMeasurementCtrl(CPaintPacer& pacer, QWidget* parent)
    : QWidget(parent), m_pacer(pacer), m_gauge(pacer, this) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    m_gauge.SetBackColor(kGaugeBackground);
    RecalcLayout();
}

void CMeasurementCtrl::SetQuantity(int quantity) {
    m_quantity = quantity;
    const int model = m_profile != nullptr ? m_profile->GetModelNumber() : 0;
    m_gauge.SetCaption(QString::fromStdString(CReadoutTexts::GaugeCaption(model, quantity)));
    RecalcLayout();
    update();
}

void CMeasurementCtrl::SetStyle(int style) {
    m_style = style;
    RecalcLayout();
    update();
}

void CMeasurementCtrl::SetSelected(bool selected) {
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void CMeasurementCtrl::SetAlarm(bool alarm) {
    m_alarm = alarm;
    ApplyAlarmColour();
}

// A readout without a live value (after Reset, before the first reading) is no alarm, whatever
// the last reading was.
bool CMeasurementCtrl::ShowsAlarm() const {
    return m_alarm && m_records != nullptr && IsQuantity(m_quantity) &&
           m_records->Current(m_quantity).has_value();
}

void CMeasurementCtrl::ApplyAlarmColour() {
    const QColor colour = FromRgb(CReadoutLayout::ValueColour(m_style, ShowsAlarm()));
    MeasurementTextItem& value = m_items[ItemValue];
    if (value.colour == colour)
        return;
    value.colour = colour;
    update();
}

void CMeasurementCtrl::Refresh(int kind) {
    if (m_profile == nullptr || m_records == nullptr || !IsQuantity(m_quantity))
        return;
    const CSettingProfile& profile = *m_profile;
    const ValueSources sources = CurrentValueSources();
    if (kind == RefreshValues && m_shownValues == sources)
        return;
    bool changed = false;
    if (kind == RefreshAll) {
        CReadoutTexts::SetIdentity(profile, m_quantity, m_texts);
        // The unit follows the model too (VSWR or PAR), which may have changed since SetQuantity.
        m_gauge.SetCaption(
            QString::fromStdString(CReadoutTexts::GaugeCaption(profile.GetModelNumber(), m_quantity)));
        float minimum = 0.0f;
        float maximum = 0.0f;
        profile.GetDisplayRange(m_quantity, minimum, maximum);
        m_gauge.SetMinValue(minimum);
        m_gauge.SetMaxValue(maximum);
    }
    if (kind == RefreshAll || kind == RefreshLimits) {
        MeterThresholdCollection bands;
        profile.BuildLimitBands(m_quantity, bands);
        m_gauge.ClearBands();
        for (const MeterThreshold& band : bands)
            m_gauge.AddBand(band.low, band.high, band.colour);
        m_gauge.update();
        CReadoutTexts::SetLimits(profile, m_quantity, m_texts);
        changed = RecalcLayout();
    }
    if (kind == RefreshAll || kind == RefreshValues) {
        CReadoutTexts::SetValues(profile, *m_records, m_quantity, m_texts);
        // Without a reading the needle rests at the display minimum.
        m_gauge.SetValue(m_records->Current(m_quantity).value_or(profile.GetItem(m_quantity).displayMin));
        m_shownValues = sources;
        ApplyAlarmColour();
    }
    const int textRight = TextRight();
    const QRect changedTexts = ApplyTexts();
    if (TextRight() != textRight)
        PlaceGauge();
    // A new value alone is painted at the pacer's rate, and only where texts changed; anything
    // else at once.
    if (changed)
        update();
    else if (kind == RefreshValues)
        m_pacer.Request(this, changedTexts);
    else if (!changedTexts.isEmpty())
        update(changedTexts);
}

CMeasurementCtrl::ValueSources CMeasurementCtrl::CurrentValueSources() const {
    const CSettingProfile& profile = *m_profile;
    return {m_quantity,
            m_records->Revision(m_quantity),
            profile.GetModelNumber(),
            profile.IsRelativeMode(),
            profile.GetDecimalPlaces(),
            m_records->DutyCycle(),
            m_records->BurstWidth()};
}

// A line too wide for the control takes a smaller font; one that does not fit even so, or that
// lies below the bottom edge, is left out whole: a value never loses its unit to the edge.
void CMeasurementCtrl::LayOut(MeasurementTextItem& item) {
    item.fontPoints = item.placedPoints;
    LayOutAtFont(item);
    while (item.laidOut && !Fits(item) && item.fontPoints > CReadoutLayout::kMinFontPoints) {
        --item.fontPoints;
        LayOutAtFont(item);
    }
    if (item.laidOut && !Fits(item)) {
        item.laidOut.reset();
        item.advance = 0;
        item.inked = QRect();
    }
}

bool CMeasurementCtrl::Fits(const MeasurementTextItem& item) const {
    return item.rect.left() + item.advance <= width() - kInkMargin &&
           item.rect.top() + item.fontHeight <= height();
}

// Placed and measured as drawText and QFontMetrics would, shaped only when the text is new to
// the cache, never on a paint.
void CMeasurementCtrl::LayOutAtFont(MeasurementTextItem& item) {
    const QFontMetrics metrics(m_fonts.Get(item.fontPoints));
    item.fontAscent = metrics.ascent();
    item.fontHeight = metrics.height();
    item.laidOut.reset();
    item.advance = 0;
    item.inked = QRect();
    if (item.rect.isEmpty() || item.text.isEmpty())
        return;
    item.laidOut = m_layouts.Get(item.text, item.fontPoints);
    const QTextLine line = item.laidOut->layout.lineAt(0);
    item.origin = QPointF(item.rect.left(), item.rect.top() + item.fontAscent - line.ascent());
    item.advance = qRound(line.horizontalAdvance());
    const QRect text(item.rect.topLeft(), QSize(item.advance, item.fontHeight));
    item.inked = text.adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
}

QRect CMeasurementCtrl::ApplyTexts() {
    QRect changed;
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        if (m_texts[i] == m_appliedTexts[i])
            continue;
        m_appliedTexts[i] = m_texts[i];
        MeasurementTextItem& item = m_items[i];
        const MeasurementTextItem before = item;
        item.text = QString::fromStdString(m_texts[i]);
        LayOut(item);
        changed |= ChangedArea(before, item);
    }
    if (!changed.isEmpty())
        changed |= DropOverlaps();
    return changed;
}

// A small window squeezes the lines onto each other: of two that would overlap, the less
// important one is left out. The area of the lines left out is returned.
QRect CMeasurementCtrl::DropOverlaps() {
    static constexpr std::array<int, kReadoutItemCount> kImportance = {
        ItemValue,  ItemLabel,     ItemWatts,      ItemMaximum,   ItemMinimum,   ItemReference,
        ItemMode,   ItemDutyCycle, ItemBurstWidth, ItemHighLimit, ItemLowLimit,  ItemModel,
        ItemSerial, ItemType,      ItemFrequency,  ItemExtOffset, ItemTechnology};
    std::vector<QRect> kept;
    QRect dropped;
    for (const int index : kImportance) {
        MeasurementTextItem& item = m_items[static_cast<std::size_t>(index)];
        if (!item.laidOut)
            continue;
        const QRect box(item.rect.topLeft(), QSize(item.advance, item.fontHeight));
        if (std::none_of(kept.begin(), kept.end(),
                         [&box](const QRect& other) { return other.intersects(box); })) {
            kept.push_back(box);
            continue;
        }
        dropped |= item.inked;
        item.laidOut.reset();
        item.advance = 0;
        item.inked = QRect();
    }
    return dropped;
}

// The whole of both lines, unless both are drawn at the same place from simple texts.
QRect CMeasurementCtrl::ChangedArea(const MeasurementTextItem& before, const MeasurementTextItem& after) {
    if (!before.laidOut || !after.laidOut || before.origin != after.origin || !IsLatin1(before.text) ||
        !IsLatin1(after.text))
        return before.inked | after.inked;
    const auto [from, to] = ChangedSpan(*before.laidOut, *after.laidOut);
    const QRect& inked = after.inked;
    return QRect(QPoint(after.rect.left() + qFloor(from) - kInkMargin, inked.top()),
                 QPoint(after.rect.left() + qCeil(to) + kInkMargin - 1, inked.bottom()));
}

ReadoutState CMeasurementCtrl::State() const {
    ReadoutState state;
    state.style = m_style;
    state.alarm = ShowsAlarm();
    state.quantity = m_quantity;
    if (m_profile != nullptr) {
        state.relativeMode = m_profile->IsRelativeMode();
        state.limitEnabled = m_profile->IsLimitEnabled(m_quantity);
    }
    return state;
}

bool CMeasurementCtrl::RecalcLayout() {
    bool changed = false;
    const CReadoutLayout::Placements placements = CReadoutLayout::Items(State(), width(), height());
    for (int i = 0; i < kReadoutItemCount; ++i) {
        const ReadoutItemPlacement& placement = placements[static_cast<std::size_t>(i)];
        MeasurementTextItem& item = m_items[static_cast<std::size_t>(i)];
        const QRect rect = placement.IsVisible() ? QRect(QPoint(placement.left, placement.top),
                                                         QPoint(placement.right - 1, placement.bottom - 1))
                                                 : QRect();
        const QColor colour = FromRgb(placement.rgb);
        changed = changed || item.rect != rect || item.placedPoints != placement.fontPoints ||
                  item.colour != colour;
        item.rect = rect;
        item.placedPoints = placement.fontPoints;
        item.colour = colour;
        LayOut(item);
    }
    DropOverlaps();
    PlaceGauge();
    return changed;
}

int CMeasurementCtrl::TextRight() const {
    int right = 0;
    for (const MeasurementTextItem& item : m_items) {
        if (item.laidOut)
            right = std::max(right, item.rect.left() + item.advance);
    }
    return right;
}

void CMeasurementCtrl::PlaceGauge() {
    const GaugePlacement gauge = CReadoutLayout::Gauge(m_style, width(), height(), TextRight());
    m_gauge.setGeometry(gauge.x, gauge.y, gauge.side, gauge.side);
    m_gauge.setVisible(gauge.visible);
}

void CMeasurementCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RecalcLayout();
}

// Qt buffers the window already; painting straight to it, only the area asked for, keeps a
// new value's repaint to the texts that changed.
void CMeasurementCtrl::PaintSurface(QPainter& painter, const QRegion& area) const {
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    if (!inside.contains(area.boundingRect())) // the one-pixel frame shows the selection
        painter.fillRect(rect(), m_selected ? kSelectionColour : kPanelColour);
    painter.fillRect(inside, kPanelColour);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const MeasurementTextItem& item : m_items) {
        if (!area.intersects(item.inked))
            continue;
        painter.setPen(item.colour);
        item.laidOut->layout.draw(&painter, item.origin);
    }
}

void CMeasurementCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    PaintSurface(painter, event->region());
}
