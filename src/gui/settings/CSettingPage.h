#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

class CSettingProfile;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;

// One page of the setting dialog. The host validates every page before it applies the page of
// the selected tab; a page has no OK or Cancel of its own, so Enter and Escape reach the host.
// A page without settings of its own validates and applies nothing.
class CSettingPage : public QWidget {
    Q_OBJECT

public:
    // Texts come from the language file section of the page.
    CSettingPage(CSettingProfile& profile, const char* section, QWidget* parent = nullptr);

    // Shows the first problem found and puts the focus on its field; changes nothing.
    virtual bool Validate() { return true; }
    // Writes what the page keeps on every confirmed OK, whether its tab is shown or not; called
    // once every page validated, before Apply.
    virtual void ApplyValidated() {}
    // Writes the page's settings into the profile; only after Validate succeeded.
    virtual void Apply() {}

signals:
    // Sent before a validation message, so that the host shows the page the message is about.
    void RevealRequested(CSettingPage* page);

protected:
    CSettingProfile& Profile() const { return m_profile; }
    int ModelNumber() const;
    QString Text(const char* key) const;

    // Model, serial number and firmware version, read-only.
    QGroupBox* CreateDeviceGroup();
    // Frequency and external offset in row 0 of the returned grid, each as label, field and unit
    // (columns 0..2 and 3..5); pages add their rows below.
    QGroupBox* CreateMeasurementGroup(QGridLayout*& grid);
    // A label in column 0 and two radio buttons (group ids 0 and 1) spanning the value columns.
    QButtonGroup* AddRadioPair(QGridLayout* grid, int row, const char* labelKey, int firstId,
                               const char* firstKey, int secondId, const char* secondKey);
    // A label and a combo in the value pair of columns that starts at column.
    QComboBox* AddCombo(QGridLayout* grid, int row, int column, const char* labelKey, int id,
                        const QStringList& entries, int selected);
    // The choices every page shares, each selected from the profile; the averaging and technology
    // combos fall back on "1" and "etc" for a stored value that is not in their list.
    QButtonGroup* AddSweepRadios(QGridLayout* grid, int row);
    QComboBox* AddDecimalCombo(QGridLayout* grid, int row, int column);
    QComboBox* AddAveragingCombo(QGridLayout* grid, int row, int column);
    QComboBox* AddTechnologyCombo(QGridLayout* grid, int row, int column);
    QComboBox* AddPeriodCombo(QGridLayout* grid, int row, int column, const char* labelKey, int id);
    // Hides or shows a field together with its label.
    void SetFieldVisible(QWidget* field, bool visible) const;

    // Frequency within the model's range and offset within +-100 dB, both numbers.
    bool ValidateCommon();
    // The field's number; without one the field is refused and nullopt returned.
    std::optional<double> ReadNumber(QLineEdit* field);
    // Shows the general text of key with the error icon, focuses field and returns false.
    bool Refuse(QWidget* field, const char* key);
    void ApplyFrequencyAndOffset();

private:
    CSettingProfile& m_profile;
    const char* m_section;
    QLineEdit* m_frequency = nullptr;
    QLineEdit* m_offset = nullptr;
};
