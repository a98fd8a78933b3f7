#include "gui/kit/FontCache.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <cmath>

TEST(FontCache, SizesAreCachedAndTheOldestGoesWhenFull) {
    FontCache fonts;
    const QFont twelve = fonts.Get(12);
    EXPECT_EQ(twelve.family(), QStringLiteral("Arial"));
    EXPECT_EQ(twelve.weight(), QFont::Bold);
    EXPECT_FALSE(twelve.italic() || twelve.underline() || twelve.strikeOut());
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_EQ(twelve.pixelSize(), static_cast<int>(std::lround(12 * dpi / 72.0)));

    fonts.Get(12);
    EXPECT_EQ(fonts.Count(), 1);
    for (int points = 13; points < 13 + FontCache::kMaxFonts; ++points)
        fonts.Get(points);
    EXPECT_EQ(fonts.Count(), FontCache::kMaxFonts);
    // Size 12 was the oldest: asking again recreates it and drops the next oldest.
    EXPECT_EQ(fonts.Get(12).pixelSize(), twelve.pixelSize());
    EXPECT_EQ(fonts.Count(), FontCache::kMaxFonts);
    EXPECT_EQ(fonts.Get(0).pixelSize(), 1) << "a zero size still gives a usable font";
}
