#include "gui/settings/CSettingDlg_Logging.h"

#include "appcore/CLoggingSetup.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CSettingValidation.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CNumberField.h"
#include "gui/settings/CPulseReferenceBox.h"
#include "history/CLoggedTimeBase.h"
#include "model/CSettingProfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

static constexpr int kSamplingRateCount = 4;

struct SChannelBox {
    int id;
    const char* key;
    int32_t bit;
};
static constexpr std::array<SChannelBox, 4> kChannelBoxes = {
    {{IdcLogChannelFwd, "IDC_LOG_CHECK_FWD", 0x01},
     {IdcLogChannelPeak, "IDC_LOG_CHECK_PEAK", 0x02},
     {IdcLogChannelRev, "IDC_LOG_CHECK_REV", 0x04},
     {IdcLogChannelPulse, "IDC_LOG_CHECK_PULSE", 0x08}}};

CSettingDlg_Logging::CSettingDlg_Logging(CSettingProfile& profile, std::unique_ptr<CLoggingLink> link,
                                         QWidget* parent)
    : CSettingPage(profile, "IDD_SETTING_LOGGING", parent), m_link(std::move(link)) {
    m_samplingRate = CSettingValidation::ChoiceIndex(profile.GetAvgRate(), kSamplingRateCount, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateDeviceGroup());
    layout->addWidget(CreateSettingsGroup());
    m_pulseReference = new CPulseReferenceBox("IDD_SETTING_LOGGING", profile.GetPulseDuty(),
                                              profile.GetPulseReference(), this);
    layout->addWidget(m_pulseReference);
    layout->addWidget(CreateLoggingGroup());
    layout->addStretch(1);
}

CSettingDlg_Logging::~CSettingDlg_Logging() {
    if (m_exchangeRunning)
        QApplication::restoreOverrideCursor();
}

QGroupBox* CSettingDlg_Logging::CreateSettingsGroup() {
    QGridLayout* grid = nullptr;
    QGroupBox* group = CreateMeasurementGroup(grid);
    m_technology = AddTechnologyCombo(grid, 1, 0);
    m_averaging = AddAveragingCombo(grid, 1, 3);
    m_period = AddPeriodCombo(grid, 2, 0, "IDC_STATIC_RATE", IdcLoggingPeriod);
    return group;
}

QGroupBox* CSettingDlg_Logging::CreateLoggingGroup() {
    auto* group = new QGroupBox(Text("IDC_STATIC_REFERENCE2"), this);
    auto* grid = new QGridLayout(group);
    auto* boxes = new QHBoxLayout;
    for (size_t index = 0; index < kChannelBoxes.size(); ++index) {
        const SChannelBox& entry = kChannelBoxes[index];
        auto* box = new QCheckBox(Text(entry.key), group);
        box->setObjectName(QString::number(entry.id));
        box->setChecked((Profile().GetLoggingItems() & entry.bit) != 0);
        connect(box, &QCheckBox::clicked, this, &CSettingDlg_Logging::UpdateIntervalUnit);
        m_channels[index] = box;
        boxes->addWidget(box);
    }
    boxes->addStretch(1);
    grid->addLayout(boxes, 0, 0, 1, 6);

    const int interval = Profile().GetLoggingInterval();
    const int runTime = Profile().GetLoggingRunTime();
    m_interval = AddTimeRow(grid, 1, "IDC_LOG_STATIC_INTER", {IdcLogIntervalMinutes, interval / 60},
                            "IDC_LOG_STATIC_MIN", {IdcLogIntervalSeconds, interval % 60}, IdcLogIntervalUnit);
    m_runTime = AddTimeRow(grid, 2, "IDC_LOG_STATIC_TIME", {IdcLogRunHours, runTime / 60},
                           "IDC_LOG_STATIC_HOUR", {IdcLogRunMinutes, runTime % 60}, IdcLogRunTimeUnit);
    m_runTime.unit->setText(QString::fromStdString(CLoggingSetup::RunTimeUnitText()));
    grid->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    m_setButton = new QPushButton(Text("IDC_LOG_BTN_SET"), group);
    m_setButton->setObjectName(QString::number(IdcLogSet));
    m_clearButton = new QPushButton(Text("IDC_LOG_BTN_CLEAR"), group);
    m_clearButton->setObjectName(QString::number(IdcLogClear));
    for (QPushButton* button : {m_setButton, m_clearButton}) {
        button->setAutoDefault(false); // Enter belongs to the host dialog
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    grid->addLayout(buttons, 3, 0, 1, 6);
    connect(m_setButton, &QPushButton::clicked, this, &CSettingDlg_Logging::SetLogging);
    connect(m_clearButton, &QPushButton::clicked, this, &CSettingDlg_Logging::ClearLogging);
    UpdateIntervalUnit();
    return group;
}

CSettingDlg_Logging::STimeRow CSettingDlg_Logging::AddTimeRow(QGridLayout* grid, int row,
                                                              const char* labelKey, SField larger,
                                                              const char* largerUnitKey, SField smaller,
                                                              int unitId) {
    QWidget* parent = grid->parentWidget();
    STimeRow fields;
    fields.larger = CNumberField::Create(parent, larger.id, QString::number(larger.value));
    fields.smaller = CNumberField::Create(parent, smaller.id, QString::number(smaller.value));
    fields.unit = new QLabel(parent);
    fields.unit->setObjectName(QString::number(unitId));
    auto* label = new QLabel(Text(labelKey), parent);
    label->setBuddy(fields.larger);
    grid->addWidget(label, row, 0);
    grid->addWidget(fields.larger, row, 1);
    grid->addWidget(new QLabel(Text(largerUnitKey), parent), row, 2);
    grid->addWidget(fields.smaller, row, 3);
    grid->addWidget(fields.unit, row, 4);
    return fields;
}

int32_t CSettingDlg_Logging::ChannelMask() const {
    int32_t mask = 0;
    for (size_t index = 0; index < kChannelBoxes.size(); ++index)
        if (m_channels[index]->isChecked())
            mask |= kChannelBoxes[index].bit;
    return mask;
}

void CSettingDlg_Logging::UpdateIntervalUnit() {
    m_interval.unit->setText(QString::fromStdString(CLoggingSetup::IntervalUnitText(ChannelMask())));
}

bool CSettingDlg_Logging::ReadWhole(QLineEdit* field, int32_t& value) {
    bool ok = false;
    value = field->text().trimmed().toInt(&ok);
    return ok || Refuse(field, "S_IDD_SETTING_INVALID_NUMBER");
}

bool CSettingDlg_Logging::Validate() {
    if (!ValidateCommon())
        return false;
    if (const CRangeDlg::Fault fault = m_pulseReference->Check())
        return Refuse(fault.field, fault.key);
    for (const STimeRow* row : {&m_interval, &m_runTime}) {
        int32_t larger = 0;
        int32_t smaller = 0;
        if (!ReadWhole(row->larger, larger) || !ReadWhole(row->smaller, smaller))
            return false;
        if (!CLoggingSetup::IsTimeInRange(larger, smaller))
            return Refuse(larger < 0 ? row->larger : row->smaller, "S_IDD_SETTING_ONOK_ITIME");
    }
    return true;
}

int64_t CSettingDlg_Logging::STimeRow::Combined() const {
    return CLoggingSetup::Combine(larger->text().trimmed().toInt(), smaller->text().trimmed().toInt());
}

static int ClampToInt(int64_t value) {
    return static_cast<int>(
        std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void CSettingDlg_Logging::Apply() {
    CSettingProfile& profile = Profile();
    ApplyFrequencyAndOffset();
    profile.SetAvgRate(m_samplingRate);
    profile.SetPulseRate(m_period->currentIndex());
    profile.SetPulseDuty(m_pulseReference->DutyChoice());
    profile.SetPulseReference(m_pulseReference->ReferenceChoice());
    profile.SetAvgRepeat(m_averaging->currentIndex() + 1);
    // The set-up sends the technology shown here, so the profile keeps what the sensor got.
    profile.SetTechnology(m_technology->currentIndex());
    profile.SetLoggingItems(ChannelMask());
    profile.SetLoggingInterval(ClampToInt(m_interval.Combined()));
    profile.SetLoggingRunTime(ClampToInt(m_runTime.Combined()));
}

void CSettingDlg_Logging::SetLogging() {
    if (m_exchangeRunning || !Validate())
        return;
    Apply();
    const int32_t mask = ChannelMask();
    const CLoggingSetup::Refusal refusal =
        CLoggingSetup::Check(mask, m_interval.Combined(), m_runTime.Combined(), m_link->IsConnected());
    if (refusal == CLoggingSetup::Refusal::NotConnected) {
        CMessageBoxes::FromKey(window(), CLoggingSetup::kNotConnectedKey, MB_ICONSTOP);
        return;
    }
    if (refusal != CLoggingSetup::Refusal::None) {
        CMessageBoxes::FromText(window(), CLoggingSetup::RefusalText(refusal, mask), MB_ICONSTOP);
        return;
    }
    BeginExchange();
    m_link->StartLogging(CLoggingSetup::StartValues(Profile()), [this](bool ok) {
        if (ok)
            Profile().SetLoggingRun(CLoggedTimeBase::StartedNow(Profile()));
        EndExchange(ok, "S_SETTING_WARNING_LOGGING_SUCCESS", "S_SETTING_WARNING_LOGGING_FAIL", MB_ICONSTOP);
    });
}

void CSettingDlg_Logging::ClearLogging() {
    if (m_exchangeRunning)
        return;
    if (!m_link->IsConnected()) {
        CMessageBoxes::FromKey(window(), CLoggingSetup::kNotConnectedKey, MB_ICONSTOP);
        return;
    }
    BeginExchange();
    m_link->StopLogging([this](bool ok) {
        EndExchange(ok, "S_SETTING_WARNING_STOP_SUCCESS", "S_SETTING_WARNING_STOP_FAIL", MB_ICONINFORMATION);
    });
}

void CSettingDlg_Logging::BeginExchange() {
    emit ExchangeStarting();
    m_exchangeRunning = true;
    m_setButton->setEnabled(false);
    m_clearButton->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CSettingDlg_Logging::EndExchange(bool ok, const char* successKey, const char* failureKey,
                                      unsigned failureIcon) {
    QApplication::restoreOverrideCursor();
    m_exchangeRunning = false;
    m_setButton->setEnabled(true);
    m_clearButton->setEnabled(true);
    CMessageBoxes::FromKey(window(), ok ? successKey : failureKey, ok ? MB_ICONINFORMATION : failureIcon);
}
