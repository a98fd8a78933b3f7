#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>

// An icon that is made when it is first drawn or measured. Making an icon may parse its file or
// load every image-format reader of the system; an icon that is only set on a widget, and maybe
// never shown, then costs nothing.
class CDeferredIcon : public QIconEngine {
public:
    using Maker = std::function<QIcon()>;

    static QIcon Make(Maker maker);
    // The icon of a file, made from it when first needed.
    static QIcon FromFile(const QString& path);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override;
    void addFile(const QString& fileName, const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    bool isNull() override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    explicit CDeferredIcon(Maker maker) : m_maker(std::move(maker)) {}
    QIcon& Icon();

    Maker m_maker;
    QIcon m_icon;
    bool m_made = false;
};
