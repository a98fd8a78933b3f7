#pragma once

#include "appcore/CMeasurementLink.h"
#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenController.h"
#include "ccdf/CCcdfAcquisition.h"
#include "gui/screens/CScreenFrame.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CReadingReceiver.h"

#include <functional>
#include <memory>

class CCcdfView;
class CSettingProfile;

// The CCDF screen: asks the sensor for one histogram after another, counts each
// into the acquisition window and shows the window's curve and statistics.
class CCcdfFrame : public CScreenFrame, private CScreenBehaviour, private CReadingReceiver {
    Q_OBJECT

public:
    // Measures through the link.
    CCcdfFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, QWidget* parent = nullptr);
    ~CCcdfFrame() override;

    CCcdfView* View() const { return m_view; }
    const CCcdfAcquisition& Acquisition() const { return m_acquisition; }
    void ApplySettings() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;
    // A result not yet kept is offered for saving before it is dropped.
    bool OfferToSave() override;

    // Answers a save dialog with the path chosen, or empty when cancelled.
    using PathChooser = std::function<QString(const QString& suffix, const QString& filter)>;
    void SetPathChooser(PathChooser chooser) { m_choosePath = std::move(chooser); }
    // The result as CSV; false after the message when it was not written.
    bool SaveResultTo(const QString& path);
    // The graph as PNG, or as a bitmap for a ".bmp" path; false after the message on failure.
    bool ExportGraphTo(const QString& path);

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
    void ShowNotResponding(bool lost) override;

    CCcdfAcquisition::SSettings Settings() const;
    bool SaveResult();
    void ExportGraph();
    QString ChoosePath(const QString& suffix, const QString& filter);
    void ShowResult();
    // The crest factor above its limit plays the chosen sound, as the other screens' alarms do.
    void SoundCrestAlarm() const;

    CSettingProfile& m_profile;
    std::unique_ptr<CMeasurementLink> m_link;
    CScreenController m_controller;
    CCcdfAcquisition m_acquisition;
    CCcdfView* m_view;
    PathChooser m_choosePath;
    bool m_unsavedResult = false;
    // Written by the set-up on the engine's worker, read when it reports its end.
    std::shared_ptr<CMeterEngine::SReverseCheck> m_reverseCheck =
        std::make_shared<CMeterEngine::SReverseCheck>();
};
