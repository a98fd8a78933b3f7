#pragma once

#include "appcore/CLoggingLink.h"
#include "gui/settings/CSettingPage.h"

#include <array>
#include <cstdint>
#include <memory>

class CPulseReferenceBox;
class QCheckBox;
class QLabel;
class QPushButton;

// The sensor's stand-alone logging: which channels, how often and how long, with the PULSE
// measurement's period, duty cycle and reference. Its two buttons talk to the sensor at once:
// Set logging checks the values and sends the set-up, Clear logging switches logging off.
class CSettingDlg_Logging : public CSettingPage {
    Q_OBJECT

public:
    // The page talks to the sensor through the link.
    CSettingDlg_Logging(CSettingProfile& profile, std::unique_ptr<CLoggingLink> link,
                        QWidget* parent = nullptr);
    ~CSettingDlg_Logging() override;

    bool Validate() override;
    void Apply() override;

    // Channel mask of the ticked boxes (AVG 0x01, PEAK 0x02, REV 0x04, PULSE 0x08).
    int32_t ChannelMask() const;
    bool IsExchangeRunning() const { return m_exchangeRunning; }

public slots:
    void SetLogging();
    void ClearLogging();

signals:
    // Sent before the page talks to the sensor, so that no screen measures meanwhile.
    void ExchangeStarting();

private:
    struct SField {
        int id;
        int value;
    };
    // Minutes and seconds, or hours and minutes, with the unit label after them.
    struct STimeRow {
        QLineEdit* larger = nullptr;
        QLineEdit* smaller = nullptr;
        QLabel* unit = nullptr;
        // larger x 60 + smaller, read as signed integers (0 where a field holds none).
        int64_t Combined() const;
    };

    QGroupBox* CreateSettingsGroup();
    QGroupBox* CreateLoggingGroup();
    STimeRow AddTimeRow(QGridLayout* grid, int row, const char* labelKey, SField larger,
                        const char* largerUnitKey, SField smaller, int unitId);
    void UpdateIntervalUnit();
    // The whole number a time field holds; refused (with its message) when it holds none.
    bool ReadWhole(QLineEdit* field, int32_t& value);
    void BeginExchange();
    void EndExchange(bool ok, const char* successKey, const char* failureKey, unsigned failureIcon);

    std::unique_ptr<CLoggingLink> m_link;
    QComboBox* m_technology = nullptr;
    QComboBox* m_averaging = nullptr;
    QComboBox* m_period = nullptr;
    // The sampling-rate choice has no visible control; it is kept as loaded.
    int m_samplingRate = 0;
    CPulseReferenceBox* m_pulseReference = nullptr;
    std::array<QCheckBox*, 4> m_channels{};
    STimeRow m_interval;
    STimeRow m_runTime;
    QPushButton* m_setButton = nullptr;
    QPushButton* m_clearButton = nullptr;
    bool m_exchangeRunning = false;
};
