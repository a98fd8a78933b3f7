#include "gui/settings/CRangeDlg.h"

#include "appcore/CSettingValidation.h"
#include "appcore/CStringTable.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CNumberField.h"
#include "model/CSettingProfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

static constexpr int kBeepCount = 4;

static QString RangeText(const char* key) {
    return QString::fromStdString(CStringTable::GetText("IDD_RANGE", key));
}

// The stored float of a validated field: ranges are compared as they will be stored.
static float FloatOf(const QLineEdit* field) {
    return CNumberField::ReadFloat(field).value_or(0.0f);
}

CRangeDlg::CRangeDlg(int channel, const RangeLimitItem& item, QWidget* parent)
    : QWidget(parent), m_channel(channel) {
    m_displayMin = CNumberField::Create(this, IdcDisplayMin, item.displayMin);
    m_displayMax = CNumberField::Create(this, IdcDisplayMax, item.displayMax);
    m_lowLimit = CNumberField::Create(this, IdcLimitLow, item.lowLimit);
    m_highLimit = CNumberField::Create(this, IdcLimitHigh, item.highLimit);

    auto* display = new QGroupBox(RangeText("IDC_STATIC_DISPLAY"), this);
    auto* displayGrid = new QGridLayout(display);
    displayGrid->addWidget(new QLabel(RangeText("IDC_STATIC_DMIN"), display), 0, 0);
    displayGrid->addWidget(m_displayMin, 0, 1);
    displayGrid->addWidget(new QLabel(RangeText("IDC_STATIC_DMAX"), display), 1, 0);
    displayGrid->addWidget(m_displayMax, 1, 1);
    displayGrid->setRowStretch(2, 1);

    m_limitEnabled = new QCheckBox(RangeText("IDC_ENABLE"), this);
    m_limitEnabled->setObjectName(QString::number(IdcLimitEnable));
    m_limitEnabled->setChecked(item.limitEnabled);
    m_alarmOn = new QCheckBox(RangeText("IDC_ALARM"), this);
    m_alarmOn->setObjectName(QString::number(IdcAlarm));
    m_alarmOn->setChecked(item.alarmOn);
    m_beep = new QComboBox(this);
    m_beep->setObjectName(QString::number(IdcBeep));
    m_beep->addItems({QStringLiteral("Beep 1"), QStringLiteral("Beep 2"), QStringLiteral("Beep 3"),
                      QStringLiteral("Beep 4")});
    m_beep->setCurrentIndex(CSettingValidation::ChoiceIndex(item.beepSound, kBeepCount, 0));

    auto* limit = new QGroupBox(RangeText("IDC_STATIC_LIMIT"), this);
    auto* limitGrid = new QGridLayout(limit);
    limitGrid->addWidget(m_limitEnabled, 0, 0, 1, 2);
    limitGrid->addWidget(m_alarmOn, 0, 2, 1, 2);
    limitGrid->addWidget(new QLabel(RangeText("IDC_STATIC_LMIN"), limit), 1, 0);
    limitGrid->addWidget(m_lowLimit, 1, 1);
    limitGrid->addWidget(new QLabel(RangeText("IDC_STATIC_LMAX"), limit), 1, 2);
    limitGrid->addWidget(m_highLimit, 1, 3);
    limitGrid->addWidget(new QLabel(RangeText("IDC_STATIC_BEEP"), limit), 2, 0);
    limitGrid->addWidget(m_beep, 2, 1);
    limitGrid->setColumnStretch(4, 1);
    limitGrid->setRowStretch(3, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(display);
    layout->addWidget(limit, 1);
}

CRangeDlg::Fault CRangeDlg::Check() const {
    for (QLineEdit* field : {m_displayMin, m_displayMax, m_lowLimit, m_highLimit})
        if (!CNumberField::ReadFloat(field))
            return {field, "S_IDD_SETTING_INVALID_NUMBER"};
    if (!CSettingValidation::IsAscending(FloatOf(m_displayMin), FloatOf(m_displayMax)))
        return {m_displayMin, "S_IDD_SETTING_ONOK_IDRNG"};
    if (!CSettingValidation::IsAscending(FloatOf(m_lowLimit), FloatOf(m_highLimit)))
        return {m_lowLimit, "S_IDD_SETTING_ONOK_ILRNG"};
    return {};
}

RangeLimitItem CRangeDlg::Item() const {
    RangeLimitItem item;
    item.displayMin = FloatOf(m_displayMin);
    item.displayMax = FloatOf(m_displayMax);
    item.limitEnabled = m_limitEnabled->isChecked();
    item.alarmOn = m_alarmOn->isChecked();
    item.lowLimit = FloatOf(m_lowLimit);
    item.highLimit = FloatOf(m_highLimit);
    item.beepSound = m_beep->currentIndex();
    return item;
}

void CRangeDlg::WriteTo(CSettingProfile& profile) const {
    profile.SetItem(m_channel, Item());
}
