#pragma once

#include "appcore/CSettingTabRules.h"

#include <QDialog>

#include <memory>
#include <vector>

class CLoggingLink;
class CSettingPage;
class CSettingProfile;
class QTabWidget;

// The modal setting dialog: one tab per page the connected model offers. OK validates every
// page, applies only the page of the selected tab and closes. A page whose validation passed has
// already written its range items, even when another page then fails or the user cancels.
class CSettingDlg : public QDialog {
    Q_OBJECT

public:
    // loggingLink: how the logging page reaches the sensor. initialTab: 0 for the AVG & PEAK
    // screen, 1 for CCDF, 2 for PULSE; a tab the model does not have selects the first.
    // rangeTab: the range page the AVG page shows first.
    CSettingDlg(CSettingProfile& profile, std::unique_ptr<CLoggingLink> loggingLink, int initialTab,
                int rangeTab = 0, QWidget* parent = nullptr);

    int SelectedTab() const;
    // The page of a kind, or nullptr when the model has no tab for it.
    CSettingPage* Page(SettingPageKind kind) const;

public slots:
    void accept() override;

private:
    void ShowPage(CSettingPage* page);

    QTabWidget* m_tabs = nullptr;
    std::vector<SettingTab> m_tabKinds;
    std::vector<CSettingPage*> m_pages; // in tab order
};
