#pragma once

#include "gui/settings/CRangeDlg.h"

#include <QWidget>

class QButtonGroup;
class QLineEdit;

// Duty cycle and reference choices of the PULSE measurement, each automatic or a manual value.
// A manual duty cycle forces the automatic reference.
class CPulseReferenceBox : public QWidget {
    Q_OBJECT

public:
    // dutyChoice in thousandths and referenceChoice in hundredths of a dB; zero means automatic.
    // Texts come from the language file section of the page that holds the box.
    CPulseReferenceBox(const char* section, int dutyChoice, int referenceChoice, QWidget* parent = nullptr);

    bool IsDutyManual() const;
    bool IsReferenceManual() const;
    // The manual value field in use that holds no number, else the manual duty field when its
    // number is no duty cycle; an empty Fault when both are in order.
    CRangeDlg::Fault Check() const;
    // The choices to store: the truncated manual value, or 0 when automatic.
    int DutyChoice() const;
    int ReferenceChoice() const;

private:
    void UpdateEnabling();

    QButtonGroup* m_duty = nullptr;
    QLineEdit* m_dutyValue = nullptr;
    QButtonGroup* m_reference = nullptr;
    QLineEdit* m_referenceValue = nullptr;
};
