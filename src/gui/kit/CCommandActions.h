#pragma once

#include "appcore/CCommandState.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <vector>

class QAction;

struct CAccelerator {
    int command;
    QKeySequence keys;
};

// One QAction per command id, shared by the toolbars and the shortcuts; menu items are linked
// to it so that every place shows the same state, decided in one place by the update rules.
class CCommandActions : public QObject {
    Q_OBJECT

public:
    using Executor = std::function<void(int)>;
    using StateQuery = std::function<CCommandState(int)>;

    CCommandActions(QObject* parent, Executor executor, StateQuery query);

    // The command's action, created on first use with its toolbar icon when it has one.
    QAction* Action(int id);
    bool Has(int id) const { return m_actions.count(id) != 0; }
    std::vector<int> Ids() const;

    // The menu item triggers the command and mirrors its state; its text stays its own.
    void Link(QAction* item, int id);
    // Asks the update rules for every command and applies the answers.
    void Refresh();
    // Replaces every shortcut with those of one accelerator table.
    void ApplyAccelerators(const std::vector<CAccelerator>& table);

    // Menu texts without mnemonic markers, for tool tips and status prompts.
    static QString PlainText(const QString& menuText);

private:
    static QString IconPath(int id);
    static void MirrorState(const QAction& command, QAction& item, const QString& itemText);

    Executor m_executor;
    StateQuery m_query;
    std::map<int, QAction*> m_actions;
};
