#pragma once

#include "history/HistoryHeader.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

// The value scale of a history's shown channel: proposed from its statistics ("Auto Scale"),
// or typed in. Only two finite ends in ascending order are accepted.
class CDlg_AutoScale : public QDialog {
    Q_OBJECT

public:
    CDlg_AutoScale(const HistoryRange& proposed, QWidget* parent = nullptr);

    HistoryRange Range() const { return m_range; }
    QCheckBox* AutoBox() const { return m_auto; }
    QLineEdit* UpperEdit() const { return m_upper; }
    QLineEdit* LowerEdit() const { return m_lower; }

    void accept() override;

private:
    void OnAutoToggled(bool on);

    HistoryRange m_proposed;
    HistoryRange m_range;
    QCheckBox* m_auto;
    QLineEdit* m_upper;
    QLineEdit* m_lower;
};
