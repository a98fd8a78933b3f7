#include "gui/settings/CSettingPageFactory.h"

#include "gui/settings/CSettingDlg_Avg.h"
#include "gui/settings/CSettingDlg_Ccdf.h"
#include "gui/settings/CSettingDlg_Logging.h"
#include "gui/settings/CSettingDlg_Pulse.h"

CSettingPage* CSettingPageFactory::Create(SettingPageKind kind, CSettingProfile& profile, int rangeTab,
                                          std::unique_ptr<CLoggingLink>& loggingLink, QWidget* parent) {
    switch (kind) {
    case SettingPageKind::Avg:
        return new CSettingDlg_Avg(profile, rangeTab, parent);
    case SettingPageKind::Pulse:
        return new CSettingDlg_Pulse(profile, parent);
    case SettingPageKind::Ccdf:
        return new CSettingDlg_Ccdf(profile, parent);
    case SettingPageKind::Logging:
        return new CSettingDlg_Logging(profile, std::move(loggingLink), parent);
    }
    return nullptr;
}
