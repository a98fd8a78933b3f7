#include "app/CStatusPanes.h"

#include <QLabel>

CStatusPanes::CStatusPanes(QWidget* parent) : QWidget(parent) {
    for (QLabel*& pane : m_panes) {
        pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setIndent(3);
    }
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

std::pair<int, int> CStatusPanes::PaneWidths(int clientWidth) {
    const int third = clientWidth > 0 ? clientWidth / 3 : 0;
    return {third * 2, third};
}

void CStatusPanes::SetClientWidth(int clientWidth) {
    const auto [first, second] = PaneWidths(clientWidth);
    m_widths = {first, second};
    LayOut();
}

int CStatusPanes::PaneWidth(int pane) const {
    return pane == 0 || pane == 1 ? m_widths[static_cast<size_t>(pane)] : 0;
}

void CStatusPanes::SetText(int pane, const QString& text) {
    if (pane == 0 || pane == 1)
        m_panes[static_cast<size_t>(pane)]->setText(text);
}

QString CStatusPanes::Text(int pane) const {
    return pane == 0 || pane == 1 ? m_panes[static_cast<size_t>(pane)]->text() : QString();
}

QSize CStatusPanes::sizeHint() const {
    return {m_widths[0] + m_widths[1], m_panes[0]->sizeHint().height()};
}

QSize CStatusPanes::minimumSizeHint() const {
    return {0, m_panes[0]->sizeHint().height()};
}

void CStatusPanes::LayOut() {
    const int height = m_panes[0]->sizeHint().height();
    m_panes[0]->setGeometry(0, 0, m_widths[0], height);
    m_panes[1]->setGeometry(m_widths[0], 0, m_widths[1], height);
    updateGeometry();
}
