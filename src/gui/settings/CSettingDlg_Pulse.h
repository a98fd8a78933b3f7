#pragma once

#include "gui/settings/CSettingPage.h"

class CPulseReferenceBox;
class CRangeDlg;
class QTabWidget;

// PULSE settings: frequency, offset, sweep, display format, period, technology, duty cycle and
// reference, with the range page of the PULSE channel.
class CSettingDlg_Pulse : public CSettingPage {
    Q_OBJECT

public:
    explicit CSettingDlg_Pulse(CSettingProfile& profile, QWidget* parent = nullptr);

    bool Validate() override;
    void ApplyValidated() override;
    void Apply() override;

    // The profile's technology for each entry of the technology list.
    static int TechnologyOfEntry(int entry);
    static int EntryOfTechnology(int technology);

private:
    QGroupBox* CreateSettingsGroup();

    QButtonGroup* m_sweep = nullptr;
    QComboBox* m_decimal = nullptr;
    QComboBox* m_period = nullptr;
    QComboBox* m_technology = nullptr;
    CPulseReferenceBox* m_pulseReference = nullptr;
    QTabWidget* m_rangeTabs = nullptr;
    CRangeDlg* m_range = nullptr;
};
