#include "gui/screens/CMeasurementFrame.h"

#include "appcore/CMeasurementLayout.h"
#include "gui/screens/CMeasurementView.h"
#include "model/CSettingProfile.h"

CMeasurementFrame::CMeasurementFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                                     QWidget* parent)
    : CScreenFrame(ChildKind::Measurement, parent),
      m_view(new CMeasurementView(profile, std::move(link), *this, this)) {
    Attach(m_view->Handler().Controller(), m_view->Handler());
    m_view->setObjectName(QStringLiteral("MeasurementView"));
    SetView(m_view);
}

void CMeasurementFrame::Configure() {
    m_view->ConfigureForModel();
}

int CMeasurementFrame::MainQuantity() const {
    return m_view->Layout().MainQuantity();
}

void CMeasurementFrame::ApplySettings() {
    m_view->ApplySettings();
}

bool CMeasurementFrame::OnCommand(int id) {
    return CScreenFrame::OnCommand(id) || m_view->OnCommand(id);
}

bool CMeasurementFrame::OnUpdateCommand(int id, CCommandState& state) {
    return CScreenFrame::OnUpdateCommand(id, state) || m_view->OnUpdateCommand(id, state);
}
