#include "gui/screens/CMeasurementView.h"

#include "appcore/CommandIds.h"
#include "gui/screens/CMeasurementCtrl.h"
#include "model/CSettingProfile.h"

CMeasurementView::CMeasurementView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                                   CScreenNotices& notices, QWidget* parent)
    : CReadoutGridView(profile, std::move(link),
                       std::make_unique<CMeasurementLayout>(profile.GetModelNumber()), parent),
      m_handler(profile, Link(), *this, notices) {
    BindRecords(m_handler.Controller().Recording().Records());
}

void CMeasurementView::ConfigureForModel() {
    CReadoutGridView::ConfigureForModel();
    m_handler.ConfigureForModel();
}

void CMeasurementView::ShowAlarm(int quantity, bool alarm) {
    const int panel = CMeasurementLayout::PanelOfQuantity(quantity);
    if (panel != CMeasurementLayout::kNoPanel)
        Panel(panel)->SetAlarm(alarm);
    if (Layout().MainQuantity() == quantity)
        Panel(0)->SetAlarm(alarm);
}

bool CMeasurementView::OnCommand(int id) {
    if (id == ID_VIEW_HISTORYGRAPH) {
        OnHistoryGraph();
        return true;
    }
    return CReadoutGridView::OnCommand(id);
}

void CMeasurementView::OnHistoryGraph() {
    MutableLayout().ToggleGraph();
    ConfigureMainQuantity();
    ApplyLayout();
}

bool CMeasurementView::OnUpdateCommand(int id, CCommandState& state) {
    if (id == ID_VIEW_HISTORYGRAPH) {
        state.Enable(CMeasurementLayout::IsGraphAllowed(ModelNumber()));
        state.SetCheck(Layout().IsGraphShown());
        return true;
    }
    return CReadoutGridView::OnUpdateCommand(id, state);
}
