#include "gui/settings/CSettingDlg_Avg.h"

#include "appcore/CSettingTabRules.h"
#include "appcore/CSettingValidation.h"
#include "appcore/CStringTable.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CRangeDlg.h"
#include "model/CSettingProfile.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

static constexpr int kSamplingRateCount = 4;

CSettingDlg_Avg::CSettingDlg_Avg(CSettingProfile& profile, int rangeTab, QWidget* parent)
    : CSettingPage(profile, "IDD_SETTING_AVG", parent) {
    m_samplingRate = CSettingValidation::ChoiceIndex(profile.GetAvgRate(), kSamplingRateCount, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateDeviceGroup());
    layout->addWidget(CreateSettingsGroup());
    layout->addWidget(CreateRangeTabs(rangeTab), 1);
}

QGroupBox* CSettingDlg_Avg::CreateSettingsGroup() {
    QGridLayout* grid = nullptr;
    QGroupBox* group = CreateMeasurementGroup(grid);
    m_mode =
        AddRadioPair(grid, 1, "IDC_STATIC_MODE", IdcAbsolute, "IDC_ABSOLUTE", IdcRelative, "IDC_RELATIVE");
    m_mode->button(Profile().IsRelativeMode() ? 1 : 0)->setChecked(true);
    m_sweep = AddSweepRadios(grid, 2);
    m_decimal = AddDecimalCombo(grid, 3, 0);
    m_averaging = AddAveragingCombo(grid, 3, 3);
    m_technology = AddTechnologyCombo(grid, 4, 0);
    SetFieldVisible(m_averaging, !CSettingTabRules::HidesAvgAveraging(ModelNumber()));
    SetFieldVisible(m_technology, !CSettingTabRules::HidesAvgTechnology(ModelNumber()));
    return group;
}

QTabWidget* CSettingDlg_Avg::CreateRangeTabs(int rangeTab) {
    m_rangeTabs = new QTabWidget(this);
    m_rangeTabs->setObjectName(QString::number(IdcRangeTabs));
    for (int channel : CSettingTabRules::AvgRangeChannels(ModelNumber())) {
        auto* range = new CRangeDlg(channel, Profile().GetItem(channel), m_rangeTabs);
        m_ranges.push_back(range);
        m_rangeTabs->addTab(range, QString::fromStdString(CStringTable::GetGeneralText(
                                       CSettingTabRules::RangeTabKey(ModelNumber(), channel))));
    }
    if (!m_ranges.empty())
        m_rangeTabs->setCurrentIndex(std::clamp(rangeTab, 0, m_rangeTabs->count() - 1));
    return m_rangeTabs;
}

bool CSettingDlg_Avg::Validate() {
    if (!ValidateCommon())
        return false;
    for (size_t index = 0; index < m_ranges.size(); ++index) {
        if (const CRangeDlg::Fault fault = m_ranges[index]->Check()) {
            m_rangeTabs->setCurrentIndex(static_cast<int>(index));
            return Refuse(fault.field, fault.key);
        }
    }
    return true;
}

// The ranges and limits take effect on every confirmed OK, whichever tab is shown.
void CSettingDlg_Avg::ApplyValidated() {
    for (const CRangeDlg* range : m_ranges)
        range->WriteTo(Profile());
}

void CSettingDlg_Avg::Apply() {
    CSettingProfile& profile = Profile();
    ApplyFrequencyAndOffset();
    profile.SetRelativeMode(m_mode->checkedId() == 1);
    profile.SetSingleSweep(m_sweep->checkedId() == 1);
    profile.SetDecimalPlaces(m_decimal->currentIndex());
    profile.SetAvgRate(m_samplingRate);
    profile.SetTechnology(m_technology->currentIndex());
    profile.SetAvgRepeat(m_averaging->currentIndex() + 1);
}
