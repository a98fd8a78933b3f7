#include "support/CAppTestSandbox.h"

#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/kit/CCommandActions.h"
#include "gui/kit/CMenuBuilder.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every item, separator and pop-up of the built menu matches the layout entry, with its text.
void ExpectMatches(const QMenu& menu, const std::vector<MenuEntry>& entries, const std::string& where) {
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(entries.size())) << where;
    for (size_t index = 0; index < entries.size(); ++index) {
        const MenuEntry& entry = entries[index];
        const QAction* item = items[static_cast<qsizetype>(index)];
        const std::string at = where + "/" + std::to_string(index);
        switch (entry.kind) {
        case MenuEntry::Separator:
            EXPECT_TRUE(item->isSeparator()) << at;
            break;
        case MenuEntry::Item:
            EXPECT_EQ(CMenuBuilder::CommandOf(item), entry.command) << at;
            EXPECT_EQ(item->text().toStdString(), CStringTable::GetMenuText(entry.key)) << at;
            break;
        case MenuEntry::Popup:
            ASSERT_NE(item->menu<QMenu*>(), nullptr) << at;
            EXPECT_EQ(item->text().toStdString(), CStringTable::GetMenuText(entry.key)) << at;
            ExpectMatches(*item->menu<QMenu*>(), entry.children, at);
            break;
        }
    }
}

int CountPopupChildren(const QMenu& menu) {
    return static_cast<int>(menu.findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size());
}

} // namespace

TEST(CMenuBuilder, BuildsEveryMenuInLayoutOrderWithTheFileTexts) {
    CAppTestSandbox sandbox;
    const std::unique_ptr<QMenu> main(CMenuBuilder::BuildMainFrameMenu(nullptr, nullptr));
    ExpectMatches(*main, CMenuLayout::MainFrameMenu(), "main");
    const std::unique_ptr<QMenu> measurement(CMenuBuilder::BuildMeasurementFrameMenu(nullptr, nullptr));
    ExpectMatches(*measurement, CMenuLayout::MeasurementFrameMenu(), "measurement");
    const std::unique_ptr<QMenu> history(CMenuBuilder::BuildHistoryFrameMenu(nullptr, nullptr));
    ExpectMatches(*history, CMenuLayout::HistoryFrameMenu(), "history");
    const std::unique_ptr<QMenu> context(CMenuBuilder::BuildContextMenus(nullptr, nullptr));
    ExpectMatches(*context, CMenuLayout::ContextMenus(), "context");
    EXPECT_EQ(main->actions().first()->text(), QStringLiteral("&File"));
}

TEST(CMenuBuilder, RebuildingAMenuLeavesOneCopyOfEachItem) {
    CAppTestSandbox sandbox;
    QMenu menu;
    EXPECT_EQ(CMenuBuilder::BuildMainFrameMenu(&menu, nullptr), &menu);
    CMenuBuilder::BuildMainFrameMenu(&menu, nullptr);
    ExpectMatches(menu, CMenuLayout::MainFrameMenu(), "rebuilt");
    EXPECT_EQ(CountPopupChildren(menu), static_cast<int>(CMenuLayout::MainFrameMenu().size()));
}

TEST(CMenuBuilder, BuildingFromNothingGivesANewMenuEachTime) {
    CAppTestSandbox sandbox;
    const std::unique_ptr<QMenu> first(CMenuBuilder::BuildMeasurementFrameMenu(nullptr, nullptr));
    const std::unique_ptr<QMenu> second(CMenuBuilder::BuildMeasurementFrameMenu(nullptr, nullptr));
    EXPECT_NE(first.get(), second.get());
}

TEST(CMenuBuilder, LinkedItemsFollowAndTriggerTheSharedCommand) {
    CAppTestSandbox sandbox;
    std::vector<int> executed;
    bool connectEnabled = true;
    CCommandActions actions(
        nullptr, [&](int id) { executed.push_back(id); },
        [&](int id) {
            CCommandState state;
            state.Enable(id == ID_DEVICE_CONNECT ? connectEnabled : true);
            return state;
        });
    const std::unique_ptr<QMenu> main(CMenuBuilder::BuildMainFrameMenu(nullptr, &actions));
    QMenu* file = main->actions().first()->menu<QMenu*>();
    QAction* connectItem = file->actions().first();

    emit file->aboutToShow();
    EXPECT_TRUE(connectItem->isEnabled());
    connectEnabled = false;
    emit file->aboutToShow();
    EXPECT_FALSE(connectItem->isEnabled());
    EXPECT_FALSE(actions.Action(ID_DEVICE_CONNECT)->isEnabled());

    file->actions().at(2)->trigger();
    EXPECT_EQ(executed, std::vector<int>{ID_FILE_OPEN});
    // The shared action takes the menu text without mnemonics or ellipsis, for tool tips.
    EXPECT_EQ(actions.Action(ID_FILE_OPEN)->toolTip(), QStringLiteral("Open History"));
}

TEST(CMenuBuilder, ItemsShowTheShortcutOfTheActiveAcceleratorTable) {
    CAppTestSandbox sandbox;
    CCommandActions actions(
        nullptr, [](int) {}, [](int) { return CCommandState{}; });
    const std::unique_ptr<QMenu> main(CMenuBuilder::BuildMainFrameMenu(nullptr, &actions));
    QAction* exitItem = main->actions().first()->menu<QMenu*>()->actions().last();
    actions.ApplyAccelerators({{ID_APP_EXIT, QKeySequence(Qt::ALT | Qt::Key_X)}});
    EXPECT_TRUE(exitItem->text().endsWith(QStringLiteral("\tAlt+X"))) << exitItem->text().toStdString();
    actions.ApplyAccelerators({});
    EXPECT_FALSE(exitItem->text().contains(QLatin1Char('\t')));
}
