#include "gui/kit/CMenuBuilder.h"

#include "appcore/CStringTable.h"
#include "gui/kit/CCommandActions.h"

#include <QAction>
#include <QMenu>

namespace {

QString MenuText(const std::string& key) {
    return QString::fromStdString(CStringTable::GetMenuText(key));
}

} // namespace

QMenu* CMenuBuilder::BuildMainFrameMenu(QMenu* menu, CCommandActions* actions) {
    return Build(menu, CMenuLayout::MainFrameMenu(), actions);
}

QMenu* CMenuBuilder::BuildMeasurementFrameMenu(QMenu* menu, CCommandActions* actions) {
    return Build(menu, CMenuLayout::MeasurementFrameMenu(), actions);
}

QMenu* CMenuBuilder::BuildHistoryFrameMenu(QMenu* menu, CCommandActions* actions) {
    return Build(menu, CMenuLayout::HistoryFrameMenu(), actions);
}

QMenu* CMenuBuilder::BuildContextMenus(QMenu* menu, CCommandActions* actions) {
    return Build(menu, CMenuLayout::ContextMenus(), actions);
}

int CMenuBuilder::CommandOf(const QAction* item) {
    return item != nullptr ? item->data().toInt() : 0;
}

QMenu* CMenuBuilder::Build(QMenu* menu, const std::vector<MenuEntry>& layout, CCommandActions* actions) {
    QMenu* target = menu != nullptr ? menu : new QMenu();
    Clear(*target);
    Fill(*target, layout, actions);
    return target;
}

void CMenuBuilder::Clear(QMenu& menu) {
    // Pop-ups made by an earlier build are children of this menu; they go with their items.
    while (!menu.actions().isEmpty()) {
        QAction* item = menu.actions().first();
        menu.removeAction(item);
        if (QMenu* popup = item->menu<QMenu*>(); popup != nullptr && popup->parent() == &menu)
            delete popup;
        else if (item->parent() == &menu)
            delete item;
    }
}

void CMenuBuilder::Fill(QMenu& menu, const std::vector<MenuEntry>& entries, CCommandActions* actions) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Separator:
            menu.addSeparator();
            break;
        case MenuEntry::Popup: {
            auto* popup = new QMenu(MenuText(entry.key), &menu);
            Fill(*popup, entry.children, actions);
            if (actions != nullptr)
                QObject::connect(popup, &QMenu::aboutToShow, actions, &CCommandActions::Refresh);
            menu.addMenu(popup);
            break;
        }
        case MenuEntry::Item: {
            QAction* item = menu.addAction(MenuText(entry.key));
            item->setData(entry.command);
            if (actions != nullptr)
                actions->Link(item, entry.command);
            break;
        }
        }
    }
}
