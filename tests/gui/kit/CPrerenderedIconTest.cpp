#include "gui/kit/CPrerenderedIcon.h"

#include <QDir>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Painted(const QIcon& icon, QIcon::Mode mode, QIcon::State state) {
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, QRect(4, 4, 32, 32), Qt::AlignCenter, mode, state);
    return image;
}

// A build without Qt's SVG module draws every icon from images rendered at build time.
bool IconsAreImages() {
    return QDir(QStringLiteral(":/icons/png")).exists();
}

QStringList IconFiles() {
    return QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")});
}

} // namespace

// Catches rendered images that do not match their files, and modes or sizes drawn differently.
TEST(CPrerenderedIconTest, EveryIconDrawsLikeItsFileInEveryModeStateAndPixelRatio) {
    Q_INIT_RESOURCE(pelmora);
    if (IconsAreImages())
        GTEST_SKIP() << "no SVG module: the icons are images (next case)";
    const QStringList names = IconFiles();
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        const QString path = QStringLiteral(":/icons/") + name;
        ASSERT_TRUE(QFile::exists(QStringLiteral(":/icons/32/%1.argb").arg(name.chopped(4))))
            << name.toStdString();
        const QIcon prerendered = CPrerenderedIcon::FromFile(path);
        const QIcon file(path);
        EXPECT_EQ(prerendered.actualSize(QSize(32, 32)), file.actualSize(QSize(32, 32)));
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
            for (QIcon::State state : {QIcon::Off, QIcon::On}) {
                for (qreal ratio : {1.0, 2.0}) {
                    EXPECT_EQ(prerendered.pixmap(QSize(32, 32), ratio, mode, state).toImage(),
                              file.pixmap(QSize(32, 32), ratio, mode, state).toImage())
                        << name.toStdString() << " mode " << mode << " state " << state << " ratio " << ratio;
                }
                EXPECT_EQ(Painted(prerendered, mode, state), Painted(file, mode, state))
                    << name.toStdString();
            }
        }
        EXPECT_EQ(prerendered.pixmap(16).toImage(), file.pixmap(16).toImage()) << name.toStdString();
    }
}

// Menus (16) and toolbars (32) at every pixel ratio the program meets: each drawn from the image
// of its own device size, none missing, none scaled (blurred) from another; the toolbar's image at
// ratio 1 is the same as the rendered one the first window draws.
TEST(CPrerenderedIconTest, WithoutTheSvgModuleEverySizeAndRatioHasAnImageOfItsOwn) {
    Q_INIT_RESOURCE(pelmora);
    if (!IconsAreImages())
        GTEST_SKIP() << "the icons are drawn from their SVG files (previous case)";
    const QStringList names = IconFiles();
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        const QString base = name.chopped(4);
        const QIcon icon = CPrerenderedIcon::FromFile(QStringLiteral(":/icons/") + name);
        for (int size : {16, 32}) {
            for (qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
                const int pixels = qRound(size * ratio);
                const QImage own(QStringLiteral(":/icons/png/%1-%2.png").arg(base).arg(pixels));
                ASSERT_FALSE(own.isNull()) << base.toStdString() << " " << pixels;
                const QImage drawn = icon.pixmap(QSize(size, size), ratio).toImage();
                EXPECT_EQ(drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                          own.convertToFormat(QImage::Format_ARGB32_Premultiplied))
                    << base.toStdString() << " " << size << " at " << ratio;
            }
        }
        const QImage own32(QStringLiteral(":/icons/png/%1-32.png").arg(base));
        EXPECT_EQ(Painted(icon, QIcon::Normal, QIcon::Off).copy(4, 4, 32, 32),
                  own32.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << base.toStdString();
    }
}

TEST(CPrerenderedIconTest, ImageOfWrongSizeIsRefused) {
    const QByteArray whole(CPrerenderedIcon::kSize * CPrerenderedIcon::kSize * 4, '\x7f');
    EXPECT_FALSE(CPrerenderedIcon::ImageOf(whole).isNull());
    EXPECT_TRUE(CPrerenderedIcon::ImageOf(whole.chopped(1)).isNull());
    EXPECT_TRUE(CPrerenderedIcon::ImageOf({}).isNull());
}
