#include "gui/screens/CCcdfSplitterHandle.h"

#include <QPainter>
#include <qdrawutil.h>

CCcdfSplitterHandle::CCcdfSplitterHandle(Qt::Orientation orientation, QSplitter* parent)
    : QSplitterHandle(orientation, parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CCcdfSplitterHandle::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 1, &palette().brush(QPalette::Button));
}
