#include "gui/settings/CPulseReferenceBox.h"

#include "appcore/CSettingValidation.h"
#include "appcore/CStringTable.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CNumberField.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

static constexpr int kDutyScale = 1000;     // the choice holds thousandths
static constexpr int kReferenceScale = 100; // the choice holds hundredths of a dB

static QString FixedText(int choice, int scale, int decimals) {
    return QString::fromStdString(
        CSettingValidation::FormatFixed(static_cast<double>(choice) / scale, decimals));
}

CPulseReferenceBox::CPulseReferenceBox(const char* section, int dutyChoice, int referenceChoice,
                                       QWidget* parent)
    : QWidget(parent) {
    auto text = [section](const char* key) {
        return QString::fromStdString(CStringTable::GetText(section, key));
    };
    m_dutyValue = CNumberField::Create(this, IdcDutyValue, FixedText(dutyChoice, kDutyScale, 3));
    m_referenceValue =
        CNumberField::Create(this, IdcReferenceValue, FixedText(referenceChoice, kReferenceScale, 2));
    auto createGroup = [&](const QString& title, int autoId, const QString& autoText, int manualId,
                           const QString& manualText, QLineEdit* value, const QString& unit) {
        auto* group = new QGroupBox(title, this);
        auto* grid = new QGridLayout(group);
        auto* buttons = new QButtonGroup(this);
        int row = 0;
        for (auto [id, caption] : {std::pair{autoId, autoText}, std::pair{manualId, manualText}}) {
            auto* radio = new QRadioButton(caption, group);
            radio->setObjectName(QString::number(id));
            buttons->addButton(radio, row);
            grid->addWidget(radio, row++, 0);
        }
        grid->addWidget(value, 1, 1);
        grid->addWidget(new QLabel(unit, group), 1, 2);
        grid->setColumnStretch(3, 1);
        connect(buttons, &QButtonGroup::idClicked, this, &CPulseReferenceBox::UpdateEnabling);
        return std::pair{group, buttons};
    };
    auto [dutyGroup, duty] = createGroup(text("IDC_STATIC_DUTY"), IdcDutyAuto, text("IDC_DUTY_AUTO"),
                                         IdcDutyManual, text("IDC_DUTY_MANUAL"), m_dutyValue, QString());
    auto [referenceGroup, reference] =
        createGroup(text("IDC_STATIC_REFERENCE"), IdcReferenceAuto, text("IDC_REFERENCE_AUTO_PEAK"),
                    IdcReferenceManual, text("IDC_DUTY_MANUAL2"), m_referenceValue, text("IDC_STATIC_DB"));
    m_duty = duty;
    m_reference = reference;
    m_duty->button(dutyChoice != 0 ? 1 : 0)->setChecked(true);
    m_reference->button(referenceChoice != 0 ? 1 : 0)->setChecked(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dutyGroup, 1);
    layout->addWidget(referenceGroup, 1);
    UpdateEnabling();
}

void CPulseReferenceBox::UpdateEnabling() {
    const bool dutyManual = IsDutyManual();
    if (dutyManual)
        m_reference->button(0)->setChecked(true);
    m_dutyValue->setEnabled(dutyManual);
    for (QAbstractButton* button : m_reference->buttons())
        button->setEnabled(!dutyManual);
    m_referenceValue->setEnabled(!dutyManual && IsReferenceManual());
}

bool CPulseReferenceBox::IsDutyManual() const {
    return m_duty->checkedId() == 1;
}

bool CPulseReferenceBox::IsReferenceManual() const {
    return m_reference->checkedId() == 1;
}

CRangeDlg::Fault CPulseReferenceBox::Check() const {
    if (IsDutyManual() && !CNumberField::Read(m_dutyValue))
        return {m_dutyValue, "S_IDD_SETTING_INVALID_NUMBER"};
    if (IsReferenceManual() && !CNumberField::Read(m_referenceValue))
        return {m_referenceValue, "S_IDD_SETTING_INVALID_NUMBER"};
    if (IsDutyManual() && !CSettingValidation::IsManualDutyInRange(CNumberField::Value(m_dutyValue)))
        return {m_dutyValue, "S_IDD_SETTING_ONOK_IDUTY"};
    return {};
}

int CPulseReferenceBox::DutyChoice() const {
    return IsDutyManual() ? CSettingValidation::TruncateScaled(CNumberField::Value(m_dutyValue), kDutyScale)
                          : 0;
}

int CPulseReferenceBox::ReferenceChoice() const {
    return IsReferenceManual()
               ? CSettingValidation::TruncateScaled(CNumberField::Value(m_referenceValue), kReferenceScale)
               : 0;
}
