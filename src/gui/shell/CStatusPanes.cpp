#include "gui/shell/CStatusPanes.h"

#include <QLabel>

#include <algorithm>

CStatusPanes::CStatusPanes(QWidget* parent) : QWidget(parent) {
    for (QLabel*& pane : m_panes) {
        pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setIndent(3);
    }
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

std::pair<int, int> CStatusPanes::PaneWidths(int clientWidth, int secondNeeds) {
    const int third = clientWidth > 0 ? clientWidth / 3 : 0;
    const int second = std::clamp(secondNeeds, third, std::max(third, clientWidth * 3 / 4));
    return {clientWidth > 0 ? clientWidth - second - (clientWidth - 3 * third) : 0, second};
}

void CStatusPanes::SetClientWidth(int clientWidth) {
    m_clientWidth = clientWidth;
    LayOut();
}

int CStatusPanes::PaneWidth(int pane) const {
    return pane == 0 || pane == 1 ? m_widths[static_cast<size_t>(pane)] : 0;
}

void CStatusPanes::SetText(int pane, const QString& text) {
    if (pane != 0 && pane != 1)
        return;
    m_texts[static_cast<size_t>(pane)] = text;
    LayOut();
}

QString CStatusPanes::Text(int pane) const {
    return pane == 0 || pane == 1 ? m_texts[static_cast<size_t>(pane)] : QString();
}

QSize CStatusPanes::sizeHint() const {
    return {m_widths[0] + m_widths[1], m_panes[0]->sizeHint().height()};
}

QSize CStatusPanes::minimumSizeHint() const {
    return {0, m_panes[0]->sizeHint().height()};
}

int CStatusPanes::TextWidth(int pane) const {
    const QLabel* label = m_panes[static_cast<size_t>(pane)];
    const int frame = 2 * (label->frameWidth() + label->indent() + label->margin()) + 2;
    return label->fontMetrics().horizontalAdvance(m_texts[static_cast<size_t>(pane)]) + frame;
}

void CStatusPanes::LayOut() {
    const auto [first, second] = PaneWidths(m_clientWidth, m_texts[1].isEmpty() ? 0 : TextWidth(1));
    m_widths = {first, second};
    const int height = m_panes[0]->sizeHint().height();
    int left = 0;
    for (size_t pane = 0; pane < m_panes.size(); ++pane) {
        QLabel* label = m_panes[pane];
        const QString& text = m_texts[pane];
        const int room = m_widths[pane] -
                         (TextWidth(static_cast<int>(pane)) - label->fontMetrics().horizontalAdvance(text));
        const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, std::max(room, 0));
        label->setText(shown);
        label->setToolTip(shown == text ? QString() : text);
        label->setGeometry(left, 0, m_widths[pane], height);
        left += m_widths[pane];
    }
    updateGeometry();
}
