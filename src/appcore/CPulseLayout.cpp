#include "appcore/CPulseLayout.h"

#include "appcore/ReadoutItem.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

CPulseLayout::CPulseLayout(int modelNumber)
    : CReadoutGridLayout(modelNumber, ChannelPulse, InitialSelection(modelNumber, 1), true) {}

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
    if (CModelTable::IsAvgOnly(modelNumber) || CModelTable::HasPulseAndCcdf(modelNumber))
        return panel != 2 && panel != 3;
    if (CModelTable::IsPeakOnly(modelNumber))
        return panel != 1 && panel != 3;
    return true;
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

bool CPulseLayout::SetAsDefault() {
    if (m_selectedPanel == 0 || SelectedQuantity() == m_mainQuantity)
        return false;
    m_mainQuantity = ChannelPulse;
    return true;
}

int CPulseLayout::FullScreenStyle() const {
    return StyleFullScreenPulse;
}
