#include "gui/screens/CCcdfTextView.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kBackground(28, 61, 114);
// Below this the lines are not worth reading; a pane that small leaves lines out instead.
constexpr int kMinFontPoints = 6;

QColor FromRgb(uint32_t rgb) {
    return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>(rgb & 0xFF));
}

} // namespace

CCcdfTextView::CCcdfTextView(CCcdfPaneTexts::Pane pane, ValuesSource values, QWidget* parent)
    : QWidget(parent), m_pane(pane), m_values(std::move(values)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void CCcdfTextView::AddLine(const CCcdfPaneTexts::SLine& line) {
    m_lines.emplace(static_cast<int>(m_lines.size()), line);
    update();
}

void CCcdfTextView::ClearLines() {
    m_lines.clear();
    update();
}

std::vector<std::string> CCcdfTextView::Texts() const {
    std::vector<std::string> texts;
    const CCcdfPaneTexts::SValues values = m_values();
    for (const auto& [key, line] : m_lines) {
        if (auto text = CCcdfPaneTexts::Text(m_pane, key, line.label, values))
            texts.push_back(*text);
    }
    return texts;
}

QSize CCcdfTextView::ContentSize() const {
    if (m_lines.empty())
        return {};
    const CCcdfPaneTexts::SValues values = m_values();
    const CCcdfPaneTexts::SLine& first = m_lines.begin()->second;
    int top = 0;
    int previousHeight = 0;
    int width = 0;
    for (const auto& [key, line] : m_lines) {
        const QFontMetrics metrics(m_fonts.Get(line.fontPoints));
        top = key == 0 ? line.y : top + previousHeight + metrics.height() / 5;
        previousHeight = metrics.height();
        if (const std::optional<std::string> text = CCcdfPaneTexts::Text(m_pane, key, line.label, values))
            width = std::max(width, line.x + metrics.horizontalAdvance(QString::fromStdString(*text)));
    }
    return {width + first.x / 2, top + previousHeight + first.y / 2};
}

void CCcdfTextView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_surface.Resize(size().expandedTo(QSize(kMinSurfaceWidth, kMinSurfaceHeight)), devicePixelRatioF());
    update();
}

void CCcdfTextView::paintEvent(QPaintEvent*) {
    if (m_surface.LogicalSize().isEmpty())
        return; // sized on the first resize; nothing to show before
    {
        QPainter painter(&m_surface.Surface());
        painter.fillRect(rect(), kBackground);
        DrawLines(painter, rect());
    }
    QPainter painter(this);
    m_surface.Present(painter);
}

// Each line sits below the previous one, a fifth of its own height apart; only the first
// line's own position counts, so lines keep their spacing whatever the texts' lengths.
std::vector<CCcdfTextView::SPlacedLine> CCcdfTextView::Place(const QRect& client) const {
    std::vector<SPlacedLine> placed;
    if (m_lines.empty() || client.width() == 0 || client.height() == 0)
        return placed;
    const QSize needs = ContentSize();
    const double scale = std::min({1.0, static_cast<double>(client.width()) / std::max(needs.width(), 1),
                                   static_cast<double>(client.height()) / std::max(needs.height(), 1)});
    const CCcdfPaneTexts::SValues values = m_values();
    int top = 0;
    int previousHeight = 0;
    for (const auto& [key, line] : m_lines) {
        const int points = std::max(kMinFontPoints, static_cast<int>(line.fontPoints * scale));
        const QFontMetrics metrics(m_fonts.Get(points));
        const int height = metrics.height();
        top = key == 0 ? static_cast<int>(line.y * scale) : top + previousHeight + height / 5;
        previousHeight = height;
        const std::optional<std::string> text = CCcdfPaneTexts::Text(m_pane, key, line.label, values);
        if (!text)
            continue;
        const int left = client.left() + static_cast<int>(line.x * scale);
        const QRect box(left, client.top() + top, metrics.horizontalAdvance(QString::fromStdString(*text)),
                        height);
        if (box.right() > client.right() || box.bottom() > client.bottom())
            continue;
        placed.push_back({box, points, *text, CCcdfPaneTexts::Colour(m_pane, key, values)});
    }
    return placed;
}

std::vector<std::string> CCcdfTextView::ShownTexts() const {
    std::vector<std::string> texts;
    for (const SPlacedLine& line : Place(rect()))
        texts.push_back(line.text);
    return texts;
}

void CCcdfTextView::DrawLines(QPainter& painter, const QRect& client) const {
    for (const SPlacedLine& line : Place(client)) {
        painter.setFont(m_fonts.Get(line.fontPoints));
        painter.setPen(FromRgb(line.colour));
        painter.drawText(line.box.adjusted(0, 0, line.box.width(), 0),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(line.text));
    }
}
