#pragma once

#include <QPixmap>
#include <QSize>

class QPainter;
class QWidget;

// Off-screen surface of an owner-drawn window: the window paints into it and copies it to
// the screen in one block, so it never flickers. The surface follows the window's size and
// device pixel ratio and is recreated only when either changes.
class CMemDC {
public:
    // Matches the surface to the widget and returns it for painting in logical coordinates.
    QPixmap& Prepare(const QWidget& widget);
    void Resize(const QSize& logicalSize, qreal devicePixelRatio);
    QPixmap& Surface() { return m_surface; }
    QSize LogicalSize() const { return m_logicalSize; }
    void Present(QPainter& painter) const;

private:
    QPixmap m_surface;
    QSize m_logicalSize;
    qreal m_ratio = 0.0;
};
