#include "gui/kit/CCommandActions.h"

#include "appcore/CommandIds.h"
#include "gui/kit/CPrerenderedIcon.h"

#include <QAction>
#include <QIcon>
#include <QPointer>

CCommandActions::CCommandActions(QObject* parent, Executor executor, StateQuery query)
    : QObject(parent), m_executor(std::move(executor)), m_query(std::move(query)) {}

QAction* CCommandActions::Action(int id) {
    const auto found = m_actions.find(id);
    if (found != m_actions.end())
        return found->second;
    auto* action = new QAction(this);
    action->setData(id);
    action->setEnabled(false);
    const QString icon = IconPath(id);
    if (!icon.isEmpty())
        action->setIcon(CPrerenderedIcon::FromFile(icon));
    connect(action, &QAction::triggered, this, [this, id] { m_executor(id); });
    m_actions.emplace(id, action);
    return action;
}

std::vector<int> CCommandActions::Ids() const {
    std::vector<int> ids;
    for (const auto& entry : m_actions)
        ids.push_back(entry.first);
    return ids;
}

void CCommandActions::Link(QAction* item, int id) {
    QAction* command = Action(id);
    if (command->text().isEmpty()) {
        const QString plain = PlainText(item->text());
        command->setText(plain);
        command->setToolTip(plain);
        command->setStatusTip(plain);
    }
    item->setStatusTip(command->statusTip());
    const QString itemText = item->text();
    MirrorState(*command, *item, itemText);
    QPointer<QAction> guardedItem(item);
    connect(command, &QAction::changed, item, [command, guardedItem, itemText] {
        if (guardedItem)
            MirrorState(*command, *guardedItem, itemText);
    });
    // Qt flips a checkable item by itself; after the command the rules have the last word.
    connect(item, &QAction::triggered, command, [this, id, command, guardedItem, itemText] {
        m_executor(id);
        if (guardedItem)
            MirrorState(*command, *guardedItem, itemText);
    });
}

void CCommandActions::Refresh() {
    for (const auto& [id, action] : m_actions) {
        const CCommandState state = m_query(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        action->setChecked(state.checked);
    }
}

void CCommandActions::ApplyAccelerators(const std::vector<CAccelerator>& table) {
    for (const auto& entry : m_actions)
        entry.second->setShortcut(QKeySequence());
    for (const CAccelerator& accelerator : table)
        Action(accelerator.command)->setShortcut(accelerator.keys);
}

QString CCommandActions::PlainText(const QString& menuText) {
    QString text = menuText.section(QLatin1Char('\t'), 0, 0);
    text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return text;
}

void CCommandActions::MirrorState(const QAction& command, QAction& item, const QString& itemText) {
    item.setEnabled(command.isEnabled());
    item.setCheckable(command.isCheckable());
    item.setChecked(command.isChecked());
    // The shortcut lives on the shared action only; the item just shows it.
    const QString keys = command.shortcut().toString(QKeySequence::NativeText);
    item.setText(keys.isEmpty() ? itemText : itemText + QLatin1Char('\t') + keys);
}

QString CCommandActions::IconPath(int id) {
    static const std::map<int, const char*> icons = {
        {ID_DEVICE_CONNECT, "connect"},
        {ID_DEVICE_DISCONNECT, "disconnect"},
        {ID_FILE_OPEN, "open"},
        {ID_HELP, "help"},
        {ID_EXPORT_CSV, "export_csv"},
        {ID_EXPORT_JPG, "export_bitmap"},
        {ID_FILE_REPORT, "report"},
        {ID_VIEW_AVG, "ch_avg"},
        {ID_VIEW_REV, "ch_rev"},
        {ID_VIEW_VSWR, "ch_vswr"},
        {ID_VIEW_PAR, "ch_par"},
        {ID_VIEW_PEAK, "ch_peak"},
        {ID_VIEW_PULSE, "ch_pulse"},
        {ID_MEASURE_START, "start"},
        {ID_MEASURE_STOP, "stop"},
        {ID_MEASURE_RESET, "reset"},
        {ID_VIEW_FULLSCREEN, "fullscreen"},
        {ID_VIEW_MULTISCREEN, "multiscreen"},
        {ID_VIEW_HISTORYGRAPH, "historygraph"},
    };
    const auto found = icons.find(id);
    if (found == icons.end())
        return {};
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(found->second));
}
