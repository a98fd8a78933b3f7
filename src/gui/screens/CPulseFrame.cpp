#include "gui/screens/CPulseFrame.h"

#include "gui/screens/CPulseView.h"

CPulseFrame::CPulseFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, QWidget* parent)
    : CScreenFrame(ChildKind::Pulse, parent), m_view(new CPulseView(profile, std::move(link), *this, this)) {
    Attach(m_view->Handler().Controller(), m_view->Handler());
    m_view->setObjectName(QStringLiteral("PulseView"));
    SetView(m_view);
}

void CPulseFrame::Configure() {
    m_view->ConfigureForModel();
}

int CPulseFrame::MainQuantity() const {
    return m_view->Layout().MainQuantity();
}

void CPulseFrame::ApplySettings() {
    m_view->RedrawAll();
}

bool CPulseFrame::OnCommand(int id) {
    return CScreenFrame::OnCommand(id) || m_view->OnCommand(id);
}

bool CPulseFrame::OnUpdateCommand(int id, CCommandState& state) {
    return CScreenFrame::OnUpdateCommand(id, state) || m_view->OnUpdateCommand(id, state);
}
