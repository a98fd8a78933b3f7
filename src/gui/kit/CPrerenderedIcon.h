#pragma once

#include <QIcon>
#include <QIconEngine>

// An icon of an SVG file whose image at the toolbars' size was rendered at build time by the
// same renderer (":/icons/32/<name>.argb"). At that size and one device pixel per pixel it is
// drawn from the image, with the modes Qt derives from it as it does from the rendered file;
// everything else comes from the file, read when first needed. The first window then draws its
// toolbar without the SVG icon engine.
class CPrerenderedIcon : public QIconEngine {
public:
    static constexpr int kSize = 32;

    // The icon of `svgPath` (":/icons/<name>.svg"); without a rendered image, the file's icon
    // made when first needed.
    static QIcon FromFile(const QString& svgPath);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    bool isNull() override { return false; }
    QString key() const override;
    QIconEngine* clone() const override;

    // The premultiplied ARGB pixels of a kSize square, or a null image when `bytes` are not.
    static QImage ImageOf(const QByteArray& bytes);

private:
    CPrerenderedIcon(QIcon rendered, QIcon file) : m_rendered(std::move(rendered)), m_file(std::move(file)) {}
    static bool IsRenderedSize(const QSize& size) { return size == QSize(kSize, kSize); }

    // Holds the rendered image; Qt derives the other modes from it.
    QIcon m_rendered;
    QIcon m_file;
};
