#include "screens/CScreenContextMenu.h"

#include "app/CAppRegistry.h"
#include "app/CMenuBuilder.h"
#include "app/CShellLink.h"

#include <QMenu>

void CScreenContextMenu::Show(const QPoint& globalPosition) {
    CShellLink* shell = CAppRegistry::Instance().GetShell();
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
