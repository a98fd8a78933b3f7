#pragma once

#include <QWidget>

#include "model/RangeLimitItem.h"

class CSettingProfile;
class QCheckBox;
class QComboBox;
class QLineEdit;

// Display range and limits of one channel, a tab inside the AVG or PULSE page. The owning page
// validates it and lets it write the channel's range-and-limit item.
class CRangeDlg : public QWidget {
    Q_OBJECT

public:
    // What is wrong with the entered values: the field to focus and the general-text key.
    struct Fault {
        QWidget* field = nullptr;
        const char* key = nullptr;
        explicit operator bool() const { return field != nullptr; }
    };

    CRangeDlg(int channel, const RangeLimitItem& item, QWidget* parent = nullptr);

    int Channel() const { return m_channel; }
    // The first field that holds no number, else an inverted or empty display range, else
    // an inverted or empty limit pair; an empty Fault when everything is in order.
    Fault Check() const;
    // The item as entered; numbers only once Check found no fault.
    RangeLimitItem Item() const;
    void WriteTo(CSettingProfile& profile) const;

private:
    int m_channel;
    QLineEdit* m_displayMin = nullptr;
    QLineEdit* m_displayMax = nullptr;
    QCheckBox* m_limitEnabled = nullptr;
    QCheckBox* m_alarmOn = nullptr;
    QLineEdit* m_lowLimit = nullptr;
    QLineEdit* m_highLimit = nullptr;
    QComboBox* m_beep = nullptr;
};
