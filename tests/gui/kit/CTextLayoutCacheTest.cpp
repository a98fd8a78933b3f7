#include "gui/kit/CTextLayoutCache.h"
#include "gui/kit/FontCache.h"

#include <gtest/gtest.h>

TEST(CTextLayoutCache, ReusesALayoutPerTextAndSizeAndMakesRoomFromTheOldest) {
    FontCache fonts;
    CTextLayoutCache cache(fonts, 2);
    const auto value = cache.Get(QStringLiteral("40.05 dBm"), 20);
    EXPECT_EQ(cache.Get(QStringLiteral("40.05 dBm"), 20), value);
    EXPECT_EQ(value->layout.text(), QStringLiteral("40.05 dBm"));
    EXPECT_EQ(value->layout.lineCount(), 1);
    const auto larger = cache.Get(QStringLiteral("40.05 dBm"), 28);
    EXPECT_NE(larger, value);
    EXPECT_GT(larger->layout.lineAt(0).horizontalAdvance(), value->layout.lineAt(0).horizontalAdvance());
    cache.Get(QStringLiteral("40.06 dBm"), 20); // full: the first entry goes
    EXPECT_NE(cache.Get(QStringLiteral("40.05 dBm"), 20), value);
    EXPECT_EQ(value->layout.text(), QStringLiteral("40.05 dBm")); // still whole for its holder
}
