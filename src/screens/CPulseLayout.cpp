#include "screens/CPulseLayout.h"

#include "model/CModelTable.h"
#include "model/HistoryChannel.h"
#include "screens/ReadoutItem.h"

#include <algorithm>

CPulseLayout::CPulseLayout(int modelNumber)
    : m_model(modelNumber), m_mainQuantity(ChannelPulse), m_selectedPanel(InitialSelection(modelNumber, 1)) {}

int CPulseLayout::InitialSelection(int modelNumber, int current) {
    const SensorModel* model = CModelTable::FindByNumber(modelNumber);
    const int capabilities = model != nullptr ? model->capabilities : 0;
    if (capabilities & CapabilityPulse)
        return 1;
    if (capabilities & CapabilityPeak)
        return 2;
    if (capabilities & CapabilityVswr)
        return 3;
    return current;
}

bool CPulseLayout::IsSelectable(int modelNumber, int panel) {
    if (panel < 0 || panel >= kPanelCount)
        return false;
    switch (modelNumber) {
    case 1:
    case 5:
    case 6:
    case 9:
        return panel != 2 && panel != 3;
    case 3:
    case 8:
        return panel != 1 && panel != 3;
    default:
        return true;
    }
}

int CPulseLayout::RoleQuantity(int panel) {
    static constexpr int kRoles[kPanelCount] = {ChannelPulse, ChannelPulse, ChannelPeak, ChannelVswr};
    return panel >= 0 && panel < kPanelCount ? kRoles[panel] : ChannelPulse;
}

void CPulseLayout::ConfigureForModel(int modelNumber) {
    m_model = modelNumber;
    m_fullScreenPanel = kNoPanel;
    m_graphShown = true;
    m_mainQuantity = RoleQuantity(0);
    m_selectedPanel = InitialSelection(modelNumber, m_selectedPanel);
    SetAsDefault();
}

int CPulseLayout::PanelQuantity(int panel) const {
    return panel == 0 ? m_mainQuantity : RoleQuantity(panel);
}

int CPulseLayout::PanelStyle(int panel) const {
    if (panel == 0)
        return StyleMain;
    return panel == m_fullScreenPanel ? StyleFullScreenPulse : StyleSmall;
}

bool CPulseLayout::Select(int panel) {
    if (!IsSelectable(m_model, panel))
        return false;
    m_selectedPanel = panel;
    return true;
}

bool CPulseLayout::SetAsDefault() {
    if (m_selectedPanel == 0 || SelectedQuantity() == m_mainQuantity)
        return false;
    m_mainQuantity = ChannelPulse;
    return true;
}

bool CPulseLayout::FullScreen() {
    if (IsFullScreen())
        return false;
    m_fullScreenPanel = m_selectedPanel;
    m_graphShown = false;
    m_mainQuantity = SelectedQuantity();
    return true;
}

bool CPulseLayout::MultiScreen() {
    if (!IsFullScreen())
        return false;
    m_fullScreenPanel = kNoPanel;
    m_graphShown = true;
    return true;
}

CPulseLayout::DoubleClickAction CPulseLayout::DoubleClick(int panel, bool onGraph) {
    if (onGraph)
        return DoubleClickAction::None;
    if (IsFullScreen())
        return DoubleClickAction::MultiScreen;
    Select(panel);
    const bool smallPanel = panel >= 1 && panel < kPanelCount;
    if (smallPanel && PanelQuantity(panel) != m_mainQuantity && IsSelectable(m_model, panel))
        return DoubleClickAction::SetAsDefault;
    return DoubleClickAction::FullScreen;
}

CMeasurementLayout::Rects CPulseLayout::Geometry(int cx, int cy) const {
    return CMeasurementLayout::ViewGeometry(cx, cy, kFixedSlots, m_fullScreenPanel, m_graphShown);
}

int CPulseLayout::PanelAt(int cx, int cy, int px, int py) const {
    return CMeasurementLayout::PanelIn(Geometry(cx, cy), px, py);
}
