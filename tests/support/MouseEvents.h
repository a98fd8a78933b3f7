#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// A mouse event as a real click or drag delivers it: a move carries no button of its own and
// a release leaves none held.
inline void SendMouse(QWidget& target, QEvent::Type type, QPoint at,
                      Qt::MouseButton button = Qt::LeftButton) {
    const QPointF local(at);
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, local, target.mapToGlobal(local), changed, held, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}
