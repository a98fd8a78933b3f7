#include "gui/screens/CPulseView.h"

#include "appcore/CommandIds.h"
#include "gui/screens/CMeasurementCtrl.h"
#include "model/CSettingProfile.h"
#include "model/HistoryChannel.h"

CPulseView::CPulseView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                       CScreenNotices& notices, QWidget* parent)
    : CReadoutGridView(profile, std::move(link), std::make_unique<CPulseLayout>(profile.GetModelNumber()),
                       parent),
      m_handler(profile, Link(), *this, notices) {
    BindRecords(m_handler.Controller().Recording().Records());
}

void CPulseView::ShowAlarm(int /*quantity*/, bool alarm) {
    Panel(1)->SetAlarm(alarm);
    if (Layout().MainQuantity() == ChannelPulse)
        Panel(0)->SetAlarm(alarm);
}

bool CPulseView::OnCommand(int id) {
    if (id == ID_VIEW_HISTORYGRAPH)
        return true; // not offered on this screen
    return CReadoutGridView::OnCommand(id);
}

bool CPulseView::OnUpdateCommand(int id, CCommandState& state) {
    if (id == ID_VIEW_HISTORYGRAPH) {
        state.Enable(false);
        state.SetCheck(false);
        return true;
    }
    return CReadoutGridView::OnUpdateCommand(id, state);
}
