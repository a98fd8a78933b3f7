#pragma once

#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenController.h"
#include "ccdf/CCcdfAcquisition.h"
#include "gui/screens/CScreenFrame.h"
#include "protocol/CReadingReceiver.h"

#include <atomic>
#include <memory>

class CCcdfView;
class CSettingProfile;

// The CCDF screen: asks the sensor for one histogram after another, counts each
// into the acquisition window and shows the window's curve and statistics.
class CCcdfFrame : public CScreenFrame, private CScreenBehaviour, private CReadingReceiver {
    Q_OBJECT

public:
    // Without a link the acquisition engine.
    explicit CCcdfFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link = nullptr,
                        QWidget* parent = nullptr);
    ~CCcdfFrame() override;

    CCcdfView* View() const { return m_view; }
    const CCcdfAcquisition& Acquisition() const { return m_acquisition; }
    void ApplySettings() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

    // One histogram exchange has ended (user-interface thread); state 1 when it
    // delivered.
    void TakeHistogram(int32_t state, const CCcdfWindow::Histogram& histogram);

private:
    int MainChannel() const override { return -1; }
    uint8_t SaveMask() const override { return 0; }
    void ResetData() override;
    CMeasurementLink::SetupJob StartSetup() override;
    void OnSetupDone(bool acknowledged) override;
    void OnCcdfData(int32_t state, const CCcdfWindow::Histogram& histogram) override;

    CCcdfAcquisition::SSettings Settings() const;
    void ShowResult();
    // The crest factor above its limit plays the chosen sound, as the other screens' alarms do.
    void SoundCrestAlarm() const;

    CSettingProfile& m_profile;
    std::unique_ptr<CMeasurementLink> m_link;
    CScreenController m_controller;
    CCcdfAcquisition m_acquisition;
    CCcdfView* m_view;
    // Written by the set-up on the engine's worker, read when it reports its end.
    std::shared_ptr<std::atomic<bool>> m_reverseAbove = std::make_shared<std::atomic<bool>>(false);
};
