#include "gui/shell/CPlaceholderScreenFrame.h"

#include <QWidget>

CPlaceholderScreenFrame::CPlaceholderScreenFrame(ChildKind kind, QWidget* parent)
    : CChildFrame(kind, parent), m_receiver(this, m_ignored) {
    auto* view = new QWidget(this);
    view->setAutoFillBackground(true);
    view->setBackgroundRole(QPalette::Base);
    setWidget(view);
}
