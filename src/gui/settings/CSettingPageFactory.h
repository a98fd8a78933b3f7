#pragma once

#include "appcore/CSettingTabRules.h"

#include <memory>

class CLoggingLink;
class CSettingPage;
class CSettingProfile;
class QWidget;

// Creates the setting dialog's page of each kind; the one place a new page is plugged in.
class CSettingPageFactory {
public:
    // rangeTab: the range page the AVG page shows first. The logging page takes the link.
    static CSettingPage* Create(SettingPageKind kind, CSettingProfile& profile, int rangeTab,
                                std::unique_ptr<CLoggingLink>& loggingLink, QWidget* parent);
};
