#pragma once

#include "gui/settings/CSettingPage.h"

class QCheckBox;

// CCDF settings: frequency, offset, sweep, decimals, number of samples, technology, and the
// crest-factor limit with its alarm and limit-check flags.
class CSettingDlg_Ccdf : public CSettingPage {
    Q_OBJECT

public:
    explicit CSettingDlg_Ccdf(CSettingProfile& profile, QWidget* parent = nullptr);

    bool Validate() override;
    void ApplyValidated() override;
    void Apply() override;

private:
    QGroupBox* CreateSettingsGroup();
    QGroupBox* CreateAlarmGroup();
    // A combo's choice, or the stored one when the combo shows none.
    static int Choice(const QComboBox* combo, int stored);

    QButtonGroup* m_sweep = nullptr;
    QComboBox* m_decimal = nullptr;
    QComboBox* m_samples = nullptr;
    QComboBox* m_technology = nullptr;
    QCheckBox* m_alarm = nullptr;
    QCheckBox* m_limit = nullptr;
    QLineEdit* m_crestLimit = nullptr;
};
