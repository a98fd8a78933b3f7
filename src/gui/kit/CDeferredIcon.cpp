#include "gui/kit/CDeferredIcon.h"

#include <QFileInfo>
#include <QPainter>

namespace {
#ifdef PELMORA_ICONS_PRERENDERED
// Without Qt's SVG module (the Windows build), an icon ":/icons/<name>.svg" is the images of it
// rendered at build time at every size the windows draw it, one device pixel per pixel and up
// to two: each size is drawn from its own image, never scaled from another.
QIcon IconOf(const QString& path) {
    QIcon icon;
    const QString name = QFileInfo(path).completeBaseName();
    for (const int size : {PELMORA_ICONS_PRERENDERED})
        icon.addFile(QStringLiteral(":/icons/png/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return icon;
}
#else
QIcon IconOf(const QString& path) {
    return QIcon(path);
}
#endif
} // namespace

QIcon CDeferredIcon::Make(Maker maker) {
    return QIcon(new CDeferredIcon(std::move(maker)));
}

QIcon CDeferredIcon::FromFile(const QString& path) {
    return Make([path] { return IconOf(path); });
}

QIcon& CDeferredIcon::Icon() {
    if (!m_made) {
        m_icon = m_maker();
        m_made = true;
    }
    return m_icon;
}

void CDeferredIcon::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize CDeferredIcon::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return Icon().actualSize(size, mode, state);
}

QPixmap CDeferredIcon::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return Icon().pixmap(size, 1.0, mode, state);
}

// Asked for `size` in device pixels; the icon takes the size in device-independent pixels.
QPixmap CDeferredIcon::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
    return Icon().pixmap(size / scale, scale, mode, state);
}

void CDeferredIcon::addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) {
    Icon().addPixmap(pixmap, mode, state);
}

void CDeferredIcon::addFile(const QString& fileName, const QSize& size, QIcon::Mode mode,
                            QIcon::State state) {
    Icon().addFile(fileName, size, mode, state);
}

QList<QSize> CDeferredIcon::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return Icon().availableSizes(mode, state);
}

QString CDeferredIcon::iconName() {
    return Icon().name();
}

bool CDeferredIcon::isNull() {
    return Icon().isNull();
}

QString CDeferredIcon::key() const {
    return QStringLiteral("CDeferredIcon");
}

QIconEngine* CDeferredIcon::clone() const {
    auto* copy = new CDeferredIcon(m_maker);
    copy->m_icon = m_icon;
    copy->m_made = m_made;
    return copy;
}
