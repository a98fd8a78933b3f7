#include "gui/kit/CDeferredIcon.h"
#include "gui/kit/CDeferredIconStyle.h"

#include <QAction>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

QImage Pixels(const QIcon& icon, QIcon::Mode mode, qreal ratio = 1.0) {
    return icon.pixmap(QSize(32, 32), ratio, mode).toImage();
}

} // namespace

TEST(CDeferredIconTest, IsMadeWhenFirstDrawnAndDrawsLikeTheIconItStandsFor) {
    Q_INIT_RESOURCE(pelmora);
    const QString path = QStringLiteral(":/icons/connect.svg");
    int made = 0;
    const QIcon deferred = CDeferredIcon::Make([&made, path] {
        ++made;
        return QIcon(path);
    });
    QToolBar toolbar;
    auto* action = new QAction(&toolbar);
    action->setIcon(deferred);
    toolbar.addAction(action);
    EXPECT_EQ(made, 0);

    const QIcon direct(path);
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
        EXPECT_EQ(Pixels(deferred, mode), Pixels(direct, mode)) << mode;
        EXPECT_EQ(Pixels(deferred, mode, 2.0), Pixels(direct, mode, 2.0)) << mode;
    }
    EXPECT_EQ(deferred.actualSize(QSize(16, 16)), direct.actualSize(QSize(16, 16)));
    EXPECT_FALSE(deferred.isNull());
    EXPECT_EQ(made, 1);
}

TEST(CDeferredIconTest, StyleDrawsTheExtensionArrowsOfItsBaseStyleInBothDirections) {
    CDeferredIconStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
    QStyleOption option;
    for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        option.direction = direction;
        for (QStyle::StandardPixmap arrow :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QIcon deferred = style.standardIcon(arrow, &option, nullptr);
            const QIcon direct = style.baseStyle()->standardIcon(arrow, &option, nullptr);
            EXPECT_EQ(Pixels(deferred, QIcon::Normal), Pixels(direct, QIcon::Normal)) << direction << arrow;
        }
    }
}
