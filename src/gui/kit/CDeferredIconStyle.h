#pragma once

#include <QProxyStyle>

// The application's style with the arrows of toolbar extension buttons made when first drawn.
// Every toolbar builds its extension button at once, and reading the arrow's image loads all
// image-format readers of the system, though the button shows only on a toolbar too narrow for
// its buttons.
class CDeferredIconStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;
};
