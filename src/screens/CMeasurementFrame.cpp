#include "screens/CMeasurementFrame.h"

#include "app/CAppRegistry.h"
#include "app/CShellLink.h"
#include "app/CommandIds.h"
#include "model/CSettingProfile.h"
#include "screens/CEngineMeasurementLink.h"
#include "screens/CMeasurementLayout.h"
#include "screens/CMeasurementView.h"

#include <QCloseEvent>

CMeasurementFrame::CMeasurementFrame(CSettingProfile* profile, std::unique_ptr<CMeasurementLink> link,
                                     QWidget* parent)
    : CChildFrame(ChildKind::Measurement, parent),
      m_view(new CMeasurementView(ProfileToUse(profile),
                                  link ? std::move(link) : std::make_unique<CEngineMeasurementLink>(), this)),
      m_receiver(this, m_view->Handler()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_view->setObjectName(QStringLiteral("MeasurementView"));
    setWidget(m_view);
    setFocusProxy(m_view);
}

CSettingProfile& CMeasurementFrame::ProfileToUse(CSettingProfile* profile) {
    if (profile != nullptr)
        return *profile;
    if (CSettingProfile* registered = CAppRegistry::Instance().GetSettingProfile())
        return *registered;
    // Only reached without a main frame; the screen then works on a profile of its own.
    static CSettingProfile standalone;
    return standalone;
}

void CMeasurementFrame::Configure() {
    m_view->ConfigureForModel();
    // The setting dialog opens at once on a freshly configured screen.
    if (CShellLink* shell = CAppRegistry::Instance().GetShell())
        shell->PostCommand(ID_DEVICE_SETTING);
}

int CMeasurementFrame::MainQuantity() const {
    return m_view->Layout().MainQuantity();
}

void CMeasurementFrame::ApplySettings() {
    m_view->ApplySettings();
}

bool CMeasurementFrame::OnCommand(int id) {
    return m_view->OnCommand(id);
}

bool CMeasurementFrame::OnUpdateCommand(int id, CCommandState& state) {
    return m_view->OnUpdateCommand(id, state);
}

void CMeasurementFrame::closeEvent(QCloseEvent* event) {
    // No reading may still be handed to a screen that is going away.
    m_view->Link().SetPending(false);
    m_view->OnCommand(ID_MEASURE_STOP);
    CAppRegistry& registry = CAppRegistry::Instance();
    if (registry.GetMeasurementScreen() == &m_receiver)
        registry.SetMeasurementScreen(nullptr);
    if (CShellLink* shell = CAppRegistry::Instance().GetShell())
        shell->PostCommand(ID_TOOLBAR_CHOICE);
    CChildFrame::closeEvent(event);
}
