#include "screens/CMemDC.h"
#include "screens/FontCache.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>

TEST(FontCache, SizesAreCachedAndTheOldestGoesWhenFull) {
    FontCache::Clear();
    const QFont twelve = FontCache::Get(12);
    EXPECT_EQ(twelve.family(), QStringLiteral("Arial"));
    EXPECT_EQ(twelve.weight(), QFont::Bold);
    EXPECT_FALSE(twelve.italic() || twelve.underline() || twelve.strikeOut());
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_EQ(twelve.pixelSize(), static_cast<int>(std::lround(12 * dpi / 72.0)));

    FontCache::Get(12);
    EXPECT_EQ(FontCache::Count(), 1);
    for (int points = 13; points < 13 + FontCache::kMaxFonts; ++points)
        FontCache::Get(points);
    EXPECT_EQ(FontCache::Count(), FontCache::kMaxFonts);
    // Size 12 was the oldest: asking again recreates it and drops the next oldest.
    EXPECT_EQ(FontCache::Get(12).pixelSize(), twelve.pixelSize());
    EXPECT_EQ(FontCache::Count(), FontCache::kMaxFonts);
    EXPECT_EQ(FontCache::Get(0).pixelSize(), 1) << "a zero size still gives a usable font";
    FontCache::Clear();
}

TEST(CMemDC, SurfaceFollowsSizeAndPixelRatio) {
    CMemDC buffer;
    buffer.Resize(QSize(200, 100), 2.0);
    EXPECT_EQ(buffer.Surface().size(), QSize(400, 200));
    EXPECT_EQ(buffer.Surface().devicePixelRatio(), 2.0);
    EXPECT_EQ(buffer.LogicalSize(), QSize(200, 100));

    const qint64 key = buffer.Surface().cacheKey();
    buffer.Resize(QSize(200, 100), 2.0);
    EXPECT_EQ(buffer.Surface().cacheKey(), key) << "same size and ratio: the surface is kept";

    buffer.Resize(QSize(0, -3), 0.0);
    EXPECT_EQ(buffer.Surface().size(), QSize(1, 1)) << "an empty window still gets a surface";
}

TEST(CMemDC, PresentCopiesTheSurfaceInOneBlock) {
    CMemDC buffer;
    buffer.Resize(QSize(4, 4), 1.0);
    buffer.Surface().fill(Qt::red);
    QImage screen(4, 4, QImage::Format_ARGB32);
    screen.fill(Qt::black);
    QPainter painter(&screen);
    buffer.Present(painter);
    painter.end();
    EXPECT_EQ(screen.pixelColor(3, 3), QColor(Qt::red));
}
