#include "gui/kit/CMemDC.h"

#include <QPainter>
#include <QWidget>

QPixmap& CMemDC::Prepare(const QWidget& widget) {
    Resize(widget.size(), widget.devicePixelRatioF());
    return m_surface;
}

void CMemDC::Resize(const QSize& logicalSize, qreal devicePixelRatio) {
    const QSize size = logicalSize.expandedTo(QSize(1, 1));
    const qreal ratio = devicePixelRatio > 0.0 ? devicePixelRatio : 1.0;
    if (size == m_logicalSize && ratio == m_ratio)
        return;
    m_logicalSize = size;
    m_ratio = ratio;
    m_surface = QPixmap(QSize(qRound(size.width() * ratio), qRound(size.height() * ratio)));
    m_surface.setDevicePixelRatio(ratio);
    m_surface.fill(Qt::white);
}

void CMemDC::Present(QPainter& painter) const {
    painter.drawPixmap(0, 0, m_surface);
}
