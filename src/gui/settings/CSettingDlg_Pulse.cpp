#include "gui/settings/CSettingDlg_Pulse.h"

#include "appcore/CStringTable.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CPulseReferenceBox.h"
#include "gui/settings/CRangeDlg.h"
#include "model/CSettingProfile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

static constexpr std::array<int, 4> kEntryTechnologies = {0, 3, 4, 7}; // LTE, WiMAX, TDS-CDMA, etc

CSettingDlg_Pulse::CSettingDlg_Pulse(CSettingProfile& profile, QWidget* parent)
    : CSettingPage(profile, "IDD_SETTING_PULSE", parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateDeviceGroup());
    layout->addWidget(CreateSettingsGroup());
    m_pulseReference = new CPulseReferenceBox("IDD_SETTING_PULSE", profile.GetPulseDuty(),
                                              profile.GetPulseReference(), this);
    layout->addWidget(m_pulseReference);
    m_rangeTabs = new QTabWidget(this);
    m_rangeTabs->setObjectName(QString::number(IdcRangeTabs));
    m_range = new CRangeDlg(ChannelPulse, profile.GetItem(ChannelPulse), m_rangeTabs);
    m_rangeTabs->addTab(m_range, QString::fromStdString(CStringTable::GetGeneralText("S_MEASUREVIEW_PULSE")));
    layout->addWidget(m_rangeTabs, 1);
}

int CSettingDlg_Pulse::TechnologyOfEntry(int entry) {
    const int last = static_cast<int>(kEntryTechnologies.size()) - 1;
    return kEntryTechnologies[static_cast<size_t>(std::clamp(entry, 0, last))];
}

int CSettingDlg_Pulse::EntryOfTechnology(int technology) {
    const auto found = std::find(kEntryTechnologies.begin(), kEntryTechnologies.end() - 1, technology);
    return static_cast<int>(found - kEntryTechnologies.begin()); // anything unlisted is "etc"
}

QGroupBox* CSettingDlg_Pulse::CreateSettingsGroup() {
    QGridLayout* grid = nullptr;
    QGroupBox* group = CreateMeasurementGroup(grid);
    m_sweep = AddSweepRadios(grid, 1);
    m_decimal = AddDecimalCombo(grid, 2, 0);
    m_period = AddPeriodCombo(grid, 2, 3, "IDC_STATIC_RATE", IdcPeriod);
    m_technology = AddCombo(
        grid, 3, 0, "IDC_STATIC_TECH", IdcTechnology,
        {QStringLiteral("LTE"), QStringLiteral("WiMAX"), QStringLiteral("TDS-CDMA"), QStringLiteral("etc")},
        EntryOfTechnology(Profile().GetTechnology()));
    return group;
}

bool CSettingDlg_Pulse::Validate() {
    if (!ValidateCommon())
        return false;
    if (const CRangeDlg::Fault fault = m_pulseReference->Check())
        return Refuse(fault.field, fault.key);
    if (const CRangeDlg::Fault fault = m_range->Check())
        return Refuse(fault.field, fault.key);
    return true;
}

// The range and limits take effect on every confirmed OK, whichever tab is shown.
void CSettingDlg_Pulse::ApplyValidated() {
    m_range->WriteTo(Profile());
}

void CSettingDlg_Pulse::Apply() {
    CSettingProfile& profile = Profile();
    ApplyFrequencyAndOffset();
    profile.SetSingleSweep(m_sweep->checkedId() == 1);
    profile.SetDecimalPlaces(m_decimal->currentIndex());
    profile.SetPulseRate(m_period->currentIndex());
    profile.SetPulseDuty(m_pulseReference->DutyChoice());
    profile.SetPulseReference(m_pulseReference->ReferenceChoice());
    profile.SetTechnology(TechnologyOfEntry(m_technology->currentIndex()));
}
