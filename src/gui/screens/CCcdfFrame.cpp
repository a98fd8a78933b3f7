#include "gui/screens/CCcdfFrame.h"

#include "appcore/CCcdfPaneTexts.h"
#include "appcore/CEngineMeasurementLink.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/screens/CCcdfView.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "model/HistoryChannel.h"
#include "platform/CMessageBeep.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"

#include <cstdio>

CCcdfFrame::CCcdfFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, QWidget* parent)
    : CScreenFrame(ChildKind::Ccdf, parent), m_profile(profile),
      m_link(link ? std::move(link)
                  : std::make_unique<CEngineMeasurementLink>(m_profile, UiPoster().Poster())),
      m_controller(m_profile, *m_link, *this, *this), m_view(new CCcdfView(m_profile, this)) {
    m_controller.SetRequestCycle({CMeterEngine::ModeCcdf});
    Attach(m_controller, *this);
    m_view->setObjectName(QStringLiteral("CcdfView"));
    SetView(m_view);
    ResetData();
}

CCcdfFrame::~CCcdfFrame() = default;

CCcdfAcquisition::SSettings CCcdfFrame::Settings() const {
    return {m_profile.GetCcdfRate(), m_profile.IsSingleSweep(), m_profile.GetTechnology()};
}

void CCcdfFrame::ResetData() {
    m_acquisition.Restart();
    m_view->ResetPanes();
    ShowResult();
}

void CCcdfFrame::ShowResult() {
    const int code = m_link->IsConnected() ? CMeterEngine::Instance().GetIdentificationCode() : -1;
    m_view->Show(m_acquisition.Result(), m_acquisition.Window().Size(), code);
}

void CCcdfFrame::ApplySettings() {
    m_view->Refresh();
}

// The technology goes to the sensor first; the one model that can, also checks
// whether more power comes back than goes forward.
CMeasurementLink::SetupJob CCcdfFrame::StartSetup() {
    const bool checkReverse = CModelTable::HasForwardReverse(m_profile.GetModelNumber());
    const int32_t frequency = CMeterCommand::Hundredths(m_profile.GetFrequency());
    const int32_t technology = m_profile.GetTechnology();
    // The job may outlive the screen on the worker, so it shares the flag rather
    // than the screen.
    return [reverseAbove = m_reverseAbove, checkReverse, frequency, technology](CMeterEngine& engine) {
        const bool acknowledged = engine.SetTechnology(technology);
        *reverseAbove = acknowledged && checkReverse &&
                        engine.CheckReversePower(frequency) == CMeterEngine::ReverseAboveForward;
        return acknowledged;
    };
}

void CCcdfFrame::OnSetupDone(bool acknowledged) {
    if (!acknowledged || !CModelTable::HasForwardReverse(m_profile.GetModelNumber()))
        return;
    const CMeterEngine& engine = CMeterEngine::Instance();
    const int32_t forward = engine.GetForwardPower();
    const int32_t reverse = engine.GetReversePower();
    std::string warning;
    if (m_reverseAbove->load()) {
        char text[256];
        std::snprintf(text, sizeof(text), "%s (Avg:%d, Rev:%d)",
                      CStringTable::GetGeneralText("S_SETTING_WARNING_POWER").c_str(), forward, reverse);
        warning = text;
    }
    ShowWarning(warning);
}

void CCcdfFrame::OnCcdfData(int32_t state, const CCcdfWindow::Histogram& histogram) {
    TakeHistogram(state, histogram);
}

void CCcdfFrame::TakeHistogram(int32_t state, const CCcdfWindow::Histogram& histogram) {
    if (!m_controller.TakeResult(state))
        return;
    const CCcdfAcquisition::SSettings settings = Settings();
    m_acquisition.Add(m_acquisition.Generation(), histogram, settings);
    if (m_acquisition.IsSweepComplete(settings))
        m_controller.Stop();
    ShowResult();
    SoundCrestAlarm();
    m_controller.FinishResult();
}

void CCcdfFrame::SoundCrestAlarm() const {
    const CCcdfPaneTexts::SValues values{&m_profile, &m_acquisition.Result(), 0, -1};
    if (m_profile.IsAlarmOn(kItemCcdf) && CCcdfPaneTexts::IsCrestAlarm(values))
        CMessageBeep::Play(m_profile.GetItem(kItemCcdf).Beep());
}

bool CCcdfFrame::OnCommand(int id) {
    switch (id) {
    case ID_ALARM_ON:
    case ID_ALARM_OFF:
    case ID_LIMITCHECK_ENABLE:
    case ID_LIMITCHECK_DISABLE:
    case ID_MODE_ABSOLUTE:
    case ID_MODE_RELATIVE:
    case ID_SETASDEFAULT:
        return true; // shown for the profile's state; this screen changes none of
                     // it
    default:
        return CScreenFrame::OnCommand(id);
    }
}

bool CCcdfFrame::OnUpdateCommand(int id, CCommandState& state) {
    switch (id) {
    case ID_ALARM_ON:
    case ID_ALARM_OFF:
        state.Enable(true);
        state.SetCheck(m_profile.IsAlarmOn(kItemCcdf) == (id == ID_ALARM_ON));
        return true;
    case ID_LIMITCHECK_ENABLE:
    case ID_LIMITCHECK_DISABLE:
        state.Enable(true);
        state.SetCheck(m_profile.IsLimitEnabled(kItemCcdf) == (id == ID_LIMITCHECK_ENABLE));
        return true;
    case ID_MODE_ABSOLUTE:
    case ID_MODE_RELATIVE:
        state.Enable(true);
        state.SetCheck(m_profile.IsRelativeMode() == (id == ID_MODE_RELATIVE));
        return true;
    case ID_SETASDEFAULT:
        state.Enable(true);
        return true;
    case ID_VIEW_FULLSCREEN:
    case ID_VIEW_MULTISCREEN:
    case ID_VIEW_HISTORYGRAPH:
        state.Enable(false);
        state.SetCheck(false);
        return true;
    default:
        return CScreenFrame::OnUpdateCommand(id, state);
    }
}
