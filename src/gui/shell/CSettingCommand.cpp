#include "gui/shell/CSettingCommand.h"

#include "appcore/CSettingTabRules.h"
#include "gui/settings/CSettingDlg.h"
#include "gui/settings/CSettingDlg_Logging.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CMainFrameRules.h"
#include "gui/shell/CSensorSlot.h"

#include <QPointer>

static bool IsDialogOpen(const CMainFrame& frame) {
    for (const CSettingDlg* dialog : frame.findChildren<CSettingDlg*>())
        if (dialog->isVisible())
            return true;
    return false;
}

void CSettingCommand::Run(CMainFrame& frame) {
    if (IsDialogOpen(frame))
        return;
    int tab = 0;
    int rangeTab = 0;
    QPointer<CChildFrame> screen;
    // Without a sensor or a screen the dialog only shows the profile, on its first tab.
    if (frame.IsConnected() && frame.IsAnyScreenOpen()) {
        tab = CSettingTabRules::InitialTab(frame.CurrentMode());
        screen = frame.FindChild(CMainFrameRules::ScreenOfMode(frame.CurrentMode()));
        if (screen)
            rangeTab = CSettingTabRules::RangeTabOfQuantity(screen->MainQuantity());
    }
    auto* dialog = new CSettingDlg(frame.Profile(), frame.LoggingLink(), tab, rangeTab, &frame);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (auto* logging = qobject_cast<CSettingDlg_Logging*>(dialog->Page(SettingPageKind::Logging)))
        QObject::connect(logging, &CSettingDlg_Logging::ExchangeStarting, &frame, &CMainFrame::StopScreens);
    QObject::connect(dialog, &QDialog::accepted, &frame, [&frame, screen] {
        frame.SaveProfile(); // confirmed settings survive a crash and another sensor's profile
        if (screen)
            screen->ApplySettings();
    });
    dialog->open();
}

void CSettingCommand::RunFor(CMainFrame& frame, CSensorSlot& slot, CChildFrame* child) {
    if (IsDialogOpen(frame))
        return;
    QPointer<CChildFrame> screen = child;
    const int rangeTab = screen ? CSettingTabRules::RangeTabOfQuantity(screen->MainQuantity()) : 0;
    const bool serial = slot.Session().PortLabel().starts_with("COM");
    auto* dialog =
        new CSettingDlg(slot.Profile(), slot.Session().Link().LoggingLink(serial), 0, rangeTab, &frame);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, &frame, [&slot, screen] {
        slot.Session().SaveProfile();
        if (screen)
            screen->ApplySettings();
    });
    dialog->open();
}
