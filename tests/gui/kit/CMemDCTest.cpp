#include "gui/kit/CMemDC.h"

#include <QPainter>

#include <gtest/gtest.h>

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
