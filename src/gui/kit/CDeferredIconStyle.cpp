#include "gui/kit/CDeferredIconStyle.h"

#include "gui/kit/CDeferredIcon.h"

#include <QPointer>
#include <QStyleOption>

QIcon CDeferredIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                       const QWidget* widget) const {
    if (standardIcon != SP_ToolBarHorizontalExtensionButton &&
        standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    // The arrow depends on the option's layout direction only; the widget may be gone by then.
    const QStyleOption copied = option != nullptr ? *option : QStyleOption();
    const bool hasOption = option != nullptr;
    return CDeferredIcon::Make(
        [style = QPointer<const CDeferredIconStyle>(this), standardIcon, copied, hasOption] {
            if (style == nullptr)
                return QIcon();
            return style->QProxyStyle::standardIcon(standardIcon, hasOption ? &copied : nullptr, nullptr);
        });
}
