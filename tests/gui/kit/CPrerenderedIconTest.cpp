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

} // namespace

// Catches rendered images that do not match their files, and modes or sizes drawn differently.
TEST(CPrerenderedIconTest, EveryIconDrawsLikeItsFileInEveryModeStateAndPixelRatio) {
    Q_INIT_RESOURCE(pelmora);
    const QStringList names = QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")});
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

TEST(CPrerenderedIconTest, ImageOfWrongSizeIsRefused) {
    const QByteArray whole(CPrerenderedIcon::kSize * CPrerenderedIcon::kSize * 4, '\x7f');
    EXPECT_FALSE(CPrerenderedIcon::ImageOf(whole).isNull());
    EXPECT_TRUE(CPrerenderedIcon::ImageOf(whole.chopped(1)).isNull());
    EXPECT_TRUE(CPrerenderedIcon::ImageOf({}).isNull());
}
