#include "gui/screens/CScreenContextMenu.h"

#include "appcore/CAppRegistry.h"
#include "appcore/CShellLink.h"
#include "gui/kit/CMenuBuilder.h"

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
