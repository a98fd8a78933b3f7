#include "gui/settings/CSettingDlg_Ccdf.h"

#include "appcore/CSettingTabRules.h"
#include "appcore/CSettingValidation.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CNumberField.h"
#include "model/CSettingProfile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kCcdfItem = 5;
constexpr int kSampleChoices = 4;

} // namespace

CSettingDlg_Ccdf::CSettingDlg_Ccdf(CSettingProfile& profile, QWidget* parent)
    : CSettingPage(profile, "IDD_SETTING_CCDF", parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateDeviceGroup());
    layout->addWidget(CreateSettingsGroup());
    layout->addWidget(CreateAlarmGroup());
    layout->addStretch(1);
}

QGroupBox* CSettingDlg_Ccdf::CreateSettingsGroup() {
    QGridLayout* grid = nullptr;
    QGroupBox* group = CreateMeasurementGroup(grid);
    m_sweep = AddSweepRadios(grid, 1);
    m_decimal = AddDecimalCombo(grid, 2, 0);
    // A stored choice outside the list shows no entry and is kept unless the user picks one.
    m_samples = AddCombo(grid, 2, 3, "IDC_STATIC_RATE", IdcSampleCount,
                         {QStringLiteral("100,000"), QStringLiteral("200,000"), QStringLiteral("500,000"),
                          QStringLiteral("1,000,000")},
                         CSettingValidation::ChoiceIndex(Profile().GetCcdfRate(), kSampleChoices, -1));
    m_technology = AddTechnologyCombo(grid, 3, 0);
    SetFieldVisible(m_technology, !CSettingTabRules::HidesCcdfTechnology(ModelNumber()));
    return group;
}

QGroupBox* CSettingDlg_Ccdf::CreateAlarmGroup() {
    const RangeLimitItem& item = Profile().GetItem(kCcdfItem);
    auto* group = new QGroupBox(Text("IDC_STATIC_ALARM"), this);
    group->setObjectName(QString::number(IdcCcdfAlarmGroup));
    auto* grid = new QGridLayout(group);
    m_alarm = new QCheckBox(Text("IDC_CCDF_ALARM"), group);
    m_alarm->setObjectName(QString::number(IdcCcdfAlarm));
    m_alarm->setChecked(item.alarmOn);
    m_limit = new QCheckBox(Text("IDC_CCDF_LIMIT"), group);
    m_limit->setObjectName(QString::number(IdcCcdfLimit));
    m_limit->setChecked(item.limitEnabled);
    m_crestLimit = CNumberField::Create(group, IdcCrestLimit, item.highLimit);
    auto* label = new QLabel(Text("IDC_STATIC_CREAST"), group);
    label->setBuddy(m_crestLimit);
    grid->addWidget(m_alarm, 0, 0);
    grid->addWidget(m_limit, 0, 1);
    grid->addWidget(label, 1, 0);
    grid->addWidget(m_crestLimit, 1, 1);
    grid->setColumnStretch(2, 1);
    return group;
}

int CSettingDlg_Ccdf::Choice(const QComboBox* combo, int stored) {
    return combo->currentIndex() >= 0 ? combo->currentIndex() : stored;
}

bool CSettingDlg_Ccdf::Validate() {
    if (!ValidateCommon())
        return false;
    const std::optional<float> crest = CNumberField::ReadFloat(m_crestLimit);
    if (!crest)
        return Refuse(m_crestLimit, "S_IDD_SETTING_INVALID_NUMBER");
    return true;
}

// The sample count and the crest limit take effect on every confirmed OK, whichever tab is shown.
void CSettingDlg_Ccdf::ApplyValidated() {
    CSettingProfile& profile = Profile();
    profile.SetCcdfRate(Choice(m_samples, profile.GetCcdfRate()));
    const float crest = static_cast<float>(CNumberField::Value(m_crestLimit));
    profile.SetLimits(kCcdfItem, crest, crest);
    profile.SetAlarmOn(kCcdfItem, m_alarm->isChecked());
    profile.SetLimitEnabled(kCcdfItem, m_limit->isChecked());
}

void CSettingDlg_Ccdf::Apply() {
    CSettingProfile& profile = Profile();
    ApplyFrequencyAndOffset();
    profile.SetSingleSweep(m_sweep->checkedId() == 1);
    profile.SetDecimalPlaces(Choice(m_decimal, profile.GetDecimalPlaces()));
    profile.SetCcdfRate(Choice(m_samples, profile.GetCcdfRate()));
    profile.SetTechnology(Choice(m_technology, profile.GetTechnology()));
}
