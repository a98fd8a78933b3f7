#include "gui/kit/CPrerenderedIcon.h"

#include "gui/kit/CDeferredIcon.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

#include <cstring>

QIcon CPrerenderedIcon::FromFile(const QString& svgPath) {
    QIcon file = CDeferredIcon::FromFile(svgPath);
    QFile rendered(
        QStringLiteral(":/icons/%1/%2.argb").arg(kSize).arg(QFileInfo(svgPath).completeBaseName()));
    const QImage image = rendered.open(QIODevice::ReadOnly) ? ImageOf(rendered.readAll()) : QImage();
    if (image.isNull())
        return file;
    return QIcon(new CPrerenderedIcon(QIcon(QPixmap::fromImage(image)), std::move(file)));
}

QImage CPrerenderedIcon::ImageOf(const QByteArray& bytes) {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    if (bytes.size() != image.sizeInBytes())
        return {};
    std::memcpy(image.bits(), bytes.constData(), static_cast<size_t>(bytes.size()));
    return image;
}

void CPrerenderedIcon::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
    if (ratio == 1.0 && IsRenderedSize(rect.size()))
        m_rendered.paint(painter, rect, Qt::AlignCenter, mode, state);
    else
        m_file.paint(painter, rect, Qt::AlignCenter, mode, state);
}

QSize CPrerenderedIcon::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return IsRenderedSize(size) ? size : m_file.actualSize(size, mode, state);
}

QPixmap CPrerenderedIcon::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return (IsRenderedSize(size) ? m_rendered : m_file).pixmap(size, 1.0, mode, state);
}

QPixmap CPrerenderedIcon::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) {
    if (scale == 1.0)
        return pixmap(size, mode, state);
    return m_file.pixmap(size / scale, scale, mode, state);
}

QList<QSize> CPrerenderedIcon::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return m_file.availableSizes(mode, state);
}

QString CPrerenderedIcon::key() const {
    return QStringLiteral("CPrerenderedIcon");
}

QIconEngine* CPrerenderedIcon::clone() const {
    return new CPrerenderedIcon(m_rendered, m_file);
}
