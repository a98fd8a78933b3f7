#include "gui/screens/CScreenContextMenu.h"

#include "appcore/CShellLink.h"
#include "gui/kit/CChildFrame.h"
#include "gui/kit/CMenuBuilder.h"

#include <QMenu>

void CScreenContextMenu::Show(const QPoint& globalPosition) {
    CShellLink* shell = Shell();
    if (shell == nullptr)
        return;
    if (m_menus == nullptr) {
        m_menus = CMenuBuilder::BuildContextMenus(nullptr, &shell->Commands());
        m_menus->setParent(m_owner, m_menus->windowFlags());
    }
    if (m_menus->actions().isEmpty() || m_menus->actions().constFirst()->menu() == nullptr)
        return;
    shell->UpdateCommandStates();
    m_menus->actions().constFirst()->menu()->exec(globalPosition);
}

// The menu uses the actions of the main window that adopted the screen holding the owner.
CShellLink* CScreenContextMenu::Shell() const {
    for (const QWidget* widget = m_owner; widget != nullptr; widget = widget->parentWidget()) {
        if (const auto* frame = qobject_cast<const CChildFrame*>(widget))
            return frame->Shell();
    }
    return nullptr;
}
