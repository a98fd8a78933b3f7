#pragma once

#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenController.h"
#include "ccdf/CCcdfAcquisition.h"
#include "gui/screens/CScreenFrame.h"
#include "protocol/CReadingReceiver.h"

#include <memory>

class CCcdfView;
class CSettingProfile;

// The CCDF screen: asks the sensor for one histogram after another, counts each
// into the acquisition window and shows the window's curve and statistics.
class CCcdfFrame : public CScreenFrame, private CScreenBehaviour, private CReadingReceiver {
    Q_OBJECT

public:
    // Measures through the link; without a profile the registered one is used.
    CCcdfFrame(CSettingProfile* profile, std::unique_ptr<CMeasurementLink> link, QWidget* parent = nullptr);
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
    // What the set-up's direction check found: written on the engine's worker, read when the
    // set-up reports its end.
    struct DirectionCheck {
        bool reverseAbove = false;
        int32_t forward = -1;
        int32_t reverse = -1;
    };
    std::shared_ptr<DirectionCheck> m_directionCheck;
};
