#pragma once

#include "gui/settings/CSettingPage.h"

#include <vector>

class CRangeDlg;
class QTabWidget;

// AVG, PEAK and AVG & PEAK settings: frequency, offset, mode, sweep, display format, averaging
// and technology, with a range page per channel the model measures.
class CSettingDlg_Avg : public CSettingPage {
    Q_OBJECT

public:
    // rangeTab: the range page to show first (clamped to those present).
    CSettingDlg_Avg(CSettingProfile& profile, int rangeTab, QWidget* parent = nullptr);

    bool Validate() override;
    void ApplyValidated() override;
    void Apply() override;

private:
    QGroupBox* CreateSettingsGroup();
    QTabWidget* CreateRangeTabs(int rangeTab);

    QButtonGroup* m_mode = nullptr;
    QButtonGroup* m_sweep = nullptr;
    QComboBox* m_decimal = nullptr;
    QComboBox* m_averaging = nullptr;
    QComboBox* m_technology = nullptr;
    // The sampling-rate choice has no visible control; it is kept as loaded.
    int m_samplingRate = 0;
    QTabWidget* m_rangeTabs = nullptr;
    std::vector<CRangeDlg*> m_ranges;
};
