#pragma once

#include "appcore/CRelativeReadout.h"
#include "gui/kit/CChildFrame.h"

#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class CRelativeGraph;
class CScreenFrame;
class CSettingProfile;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTimer;

// One connected sensor as the Relative screen sees it: its name, its open screen that measures
// the chosen channel (none without one) and its settings, whose identity a saved history takes.
struct SRelativeSource {
    QString name;
    QPointer<CScreenFrame> screen;
    const CSettingProfile* profile = nullptr;
};

// The Relative screen: B - A in dB between a channel of two connected sensors (or the ratio in
// percent), with reference, minimum, maximum, limits, alarm, a live graph and its own record.
// It takes the readings the sensors' own screens store, as they store them, and pairs them by
// time; the sensors' screens go on measuring as before.
class CRelativeFrame : public CChildFrame {
    Q_OBJECT

public:
    // The connected sensors in order, each with its screen of the kind given.
    using SourceFinder = std::function<std::vector<SRelativeSource>(ChildKind screen)>;

    explicit CRelativeFrame(SourceFinder findSources, QWidget* parent = nullptr);
    ~CRelativeFrame() override;

    const CRelativeReadout& Readout() const { return m_readout; }
    // Sensor A and B by their place among the connected sensors.
    void ChooseSensors(int a, int b);
    // Limits in the unit shown, as the screen's own boxes set them.
    void SetLimits(bool on, double low, double high, bool alarm);
    // The shown texts, as the next refresh leaves them.
    QString ValueText() const;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;
    bool OfferToSave() override;
    void ForgetMeasurement() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildControls();
    // Follows the sensors' screens, records what a silence leaves and refreshes the texts.
    void Follow();
    void Attach(int side, CScreenFrame* screen);
    void Detach(int side);
    void OnValue(int side, float value);
    void Refresh();
    void FitValueFont();
    void ApplyLimits();
    void Start();
    bool SaveWithDialog();
    void ExportCsv();
    ChildKind SourceScreen() const;
    int RecordChannel() const;

    SourceFinder m_findSources;
    CRelativeReadout m_readout;
    std::vector<SRelativeSource> m_sources;
    std::array<QPointer<CScreenFrame>, 2> m_attached;
    // How far apart each side's readings come: one cycle of the slower is as old as a partner
    // may be.
    std::array<CRelativeReadout::Clock::time_point, 2> m_lastReadingAt{};
    std::array<double, 2> m_intervalMs{0.0, 0.0};
    std::array<QComboBox*, 2> m_sensorBoxes{};
    QComboBox* m_channelBox = nullptr;
    QComboBox* m_unitBox = nullptr;
    QCheckBox* m_limitBox = nullptr;
    QCheckBox* m_alarmBox = nullptr;
    QDoubleSpinBox* m_lowBox = nullptr;
    QDoubleSpinBox* m_highBox = nullptr;
    QLabel* m_value = nullptr;
    QLabel* m_details = nullptr;
    CRelativeGraph* m_graph = nullptr;
    QTimer* m_timer = nullptr;
};
