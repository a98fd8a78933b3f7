#include "gui/settings/CSettingPage.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CSettingValidation.h"
#include "appcore/CStringTable.h"
#include "appcore/SettingControlIds.h"
#include "gui/settings/CNumberField.h"
#include "model/CSettingProfile.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

static constexpr int kValueColumns = 5; // everything right of the first label column
static constexpr int kDecimalCount = 3;
static constexpr int kDefaultDecimals = 2; // the profile's default
static constexpr int kAveragingCount = 10;

CSettingPage::CSettingPage(CSettingProfile& profile, const char* section, QWidget* parent)
    : QWidget(parent), m_profile(profile), m_section(section) {}

int CSettingPage::ModelNumber() const {
    return m_profile.GetModelNumber();
}

QString CSettingPage::Text(const char* key) const {
    return QString::fromStdString(CStringTable::GetText(m_section, key));
}

QGroupBox* CSettingPage::CreateDeviceGroup() {
    auto* group = new QGroupBox(Text("IDC_STATIC_DEVICE"), this);
    auto* row = new QHBoxLayout(group);
    auto addText = [&](const char* labelKey, int id, const std::string& value) {
        auto* field = new QLineEdit(QString::fromStdString(value), group);
        field->setObjectName(QString::number(id));
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        row->addWidget(new QLabel(Text(labelKey), group));
        row->addWidget(field, 1);
    };
    addText("IDC_STATIC_MODEL", IdcModelName, m_profile.ModelName());
    addText("IDC_STATIC_SN", IdcSerialNumber, m_profile.GetSerialText());
    addText("IDC_STATIC_VER", IdcFirmware, m_profile.GetFirmwareText());
    return group;
}

QGroupBox* CSettingPage::CreateMeasurementGroup(QGridLayout*& grid) {
    auto* group = new QGroupBox(Text("IDC_STATIC_MEASURE"), this);
    grid = new QGridLayout(group);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    m_frequency = CNumberField::Create(this, IdcFrequency, m_profile.GetFrequency());
    m_offset = CNumberField::Create(this, IdcExtOffset, m_profile.GetExtOffset());
    auto addField = [&](int column, const char* labelKey, QLineEdit* field, const char* unitKey) {
        auto* label = new QLabel(Text(labelKey), group);
        label->setBuddy(field);
        grid->addWidget(label, 0, column);
        grid->addWidget(field, 0, column + 1);
        grid->addWidget(new QLabel(Text(unitKey), group), 0, column + 2);
    };
    addField(0, "IDC_STATIC_FREQ", m_frequency, "IDC_STATIC_MHZ");
    addField(3, "IDC_STATIC_EXTOFF", m_offset, "IDC_STATIC_DB");
    return group;
}

QButtonGroup* CSettingPage::AddRadioPair(QGridLayout* grid, int row, const char* labelKey, int firstId,
                                         const char* firstKey, int secondId, const char* secondKey) {
    auto* buttons = new QButtonGroup(this);
    auto* line = new QHBoxLayout;
    int groupId = 0;
    for (auto [id, key] : {std::pair{firstId, firstKey}, std::pair{secondId, secondKey}}) {
        auto* radio = new QRadioButton(Text(key), this);
        radio->setObjectName(QString::number(id));
        buttons->addButton(radio, groupId++);
        line->addWidget(radio);
    }
    line->addStretch(1);
    grid->addWidget(new QLabel(Text(labelKey), this), row, 0);
    grid->addLayout(line, row, 1, 1, kValueColumns);
    return buttons;
}

QComboBox* CSettingPage::AddCombo(QGridLayout* grid, int row, int column, const char* labelKey, int id,
                                  const QStringList& entries, int selected) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    combo->addItems(entries);
    combo->setCurrentIndex(selected);
    auto* label = new QLabel(Text(labelKey), this);
    label->setBuddy(combo);
    grid->addWidget(label, row, column);
    grid->addWidget(combo, row, column + 1);
    return combo;
}

void CSettingPage::SetFieldVisible(QWidget* field, bool visible) const {
    field->setVisible(visible);
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == field)
            label->setVisible(visible);
}

bool CSettingPage::ValidateCommon() {
    const std::optional<double> frequency = ReadNumber(m_frequency);
    if (!frequency)
        return false;
    if (!CSettingValidation::IsFrequencyInRange(ModelNumber(), *frequency))
        return Refuse(m_frequency, "S_IDD_SETTING_ONOK_IFREQ");
    const std::optional<double> offset = ReadNumber(m_offset);
    if (!offset)
        return false;
    if (!CSettingValidation::IsOffsetInRange(*offset))
        return Refuse(m_offset, "S_IDD_SETTING_INVAL_OFFSET");
    return true;
}

std::optional<double> CSettingPage::ReadNumber(QLineEdit* field) {
    std::optional<double> value = CNumberField::Read(field);
    if (!value)
        Refuse(field, "S_IDD_SETTING_INVALID_NUMBER");
    return value;
}

bool CSettingPage::Refuse(QWidget* field, const char* key) {
    emit RevealRequested(this);
    CMessageBoxes::FromKey(static_cast<QWidget*>(window()), key, MB_ICONSTOP);
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

void CSettingPage::ApplyFrequencyAndOffset() {
    m_profile.SetFrequency(static_cast<float>(CNumberField::Value(m_frequency)));
    m_profile.SetExtOffset(static_cast<float>(CNumberField::Value(m_offset)));
}

QButtonGroup* CSettingPage::AddSweepRadios(QGridLayout* grid, int row) {
    QButtonGroup* sweep =
        AddRadioPair(grid, row, "IDC_STATIC_SWEEP", IdcContinuous, "IDC_CONTINUOUS", IdcSingle, "IDC_Single");
    sweep->button(m_profile.IsSingleSweep() ? 1 : 0)->setChecked(true);
    return sweep;
}

QComboBox* CSettingPage::AddDecimalCombo(QGridLayout* grid, int row, int column) {
    const int selected =
        CSettingValidation::ChoiceIndex(m_profile.GetDecimalPlaces(), kDecimalCount, kDefaultDecimals);
    return AddCombo(grid, row, column, "IDC_STATIC_DECIMAL", IdcDecimal,
                    {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")}, selected);
}

QComboBox* CSettingPage::AddAveragingCombo(QGridLayout* grid, int row, int column) {
    QStringList entries;
    for (int count = 1; count <= kAveragingCount; ++count)
        entries << QString::number(count);
    const int selected = CSettingValidation::ChoiceIndex(m_profile.GetAvgRepeat() - 1, kAveragingCount, 0);
    return AddCombo(grid, row, column, "IDC_STATIC_REPEAT", IdcAveraging, entries, selected);
}

QComboBox* CSettingPage::AddTechnologyCombo(QGridLayout* grid, int row, int column) {
    const QStringList entries = {QStringLiteral("LTE"),   QStringLiteral("WCDMA"),    QStringLiteral("CDMA"),
                                 QStringLiteral("WiMAX"), QStringLiteral("TDS-CDMA"), QStringLiteral("EV-DO"),
                                 QStringLiteral("GSM"),   QStringLiteral("etc")};
    const int etc = static_cast<int>(entries.size()) - 1;
    const int selected = CSettingValidation::ChoiceIndex(m_profile.GetTechnology(), etc + 1, etc);
    return AddCombo(grid, row, column, "IDC_STATIC_TECH", IdcTechnology, entries, selected);
}

QComboBox* CSettingPage::AddPeriodCombo(QGridLayout* grid, int row, int column, const char* labelKey,
                                        int id) {
    const QStringList entries = {QStringLiteral("< 4.5ms"), QStringLiteral("< 9.5ms"),
                                 QStringLiteral("< 19ms"), QStringLiteral("< 38ms"),
                                 QStringLiteral("< 76ms")};
    const int selected =
        CSettingValidation::ChoiceIndex(m_profile.GetPulseRate(), static_cast<int>(entries.size()), 0);
    return AddCombo(grid, row, column, labelKey, id, entries, selected);
}
