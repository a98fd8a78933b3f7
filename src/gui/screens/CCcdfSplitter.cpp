#include "gui/screens/CCcdfSplitter.h"

#include "gui/screens/CCcdfSplitterHandle.h"

namespace {

constexpr int kBarWidth = 5;

} // namespace

CCcdfSplitter::CCcdfSplitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {
    setHandleWidth(kBarWidth);
    setChildrenCollapsible(false);
}

void CCcdfSplitter::SetFixed(bool fixed) {
    m_fixed = fixed;
    for (int i = 0; i < count(); ++i) {
        handle(i)->setEnabled(!fixed);
        handle(i)->setCursor(fixed ? Qt::ArrowCursor
                                   : (orientation() == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor));
    }
}

QSplitterHandle* CCcdfSplitter::createHandle() {
    return new CCcdfSplitterHandle(orientation(), this);
}
