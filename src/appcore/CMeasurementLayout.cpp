#include "appcore/CMeasurementLayout.h"

#include "appcore/ReadoutItem.h"
#include "model/CModelTable.h"
#include "model/HistoryChannel.h"

CMeasurementLayout::CMeasurementLayout(int modelNumber)
    : CReadoutGridLayout(modelNumber, ChannelAvg, InitialSelection(modelNumber), false) {
    Arrange();
}

int CMeasurementLayout::InitialSelection(int modelNumber) {
    const SensorModel* model = CModelTable::FindByNumber(modelNumber);
    const int capabilities = model != nullptr ? model->capabilities : 0;
    if (capabilities & CapabilityAvg)
        return 1;
    if (capabilities & CapabilityPeak)
        return 2;
    if (capabilities & CapabilityVswr)
        return 3;
    return 1;
}

bool CMeasurementLayout::IsSelectable(int modelNumber, int panel) {
    if (panel < 0 || panel >= kPanelCount)
        return false;
    if (CModelTable::IsAvgOnly(modelNumber))
        return panel != 2 && panel != 3;
    if (CModelTable::IsPeakOnly(modelNumber))
        return panel != 1 && panel != 3;
    return true;
}

bool CMeasurementLayout::IsGraphAllowed(int modelNumber) {
    return CModelTable::MeasuresAll(modelNumber);
}

bool CMeasurementLayout::ShowsGraphInMultiScreen(int modelNumber) {
    // One readout is all such a sensor fills; the graph takes the rest.
    return CModelTable::IsAvgOnly(modelNumber) || CModelTable::IsPeakOnly(modelNumber);
}

int CMeasurementLayout::PanelOfQuantity(int quantity) {
    switch (quantity) {
    case ChannelAvg:
        return 1;
    case ChannelPeak:
        return 2;
    case ChannelVswr:
        return 3;
    default:
        return kNoPanel;
    }
}

int CMeasurementLayout::RoleQuantity(int panel) {
    static constexpr int kRoles[kPanelCount] = {ChannelAvg, ChannelAvg, ChannelPeak, ChannelVswr};
    return panel >= 0 && panel < kPanelCount ? kRoles[panel] : ChannelAvg;
}

void CMeasurementLayout::ConfigureForModel(int modelNumber) {
    m_model = modelNumber;
    m_fullScreenPanel = kNoPanel;
    m_selectedPanel = InitialSelection(modelNumber);
    m_mainQuantity = RoleQuantity(m_selectedPanel);
    if (ShowsGraphInMultiScreen(modelNumber))
        m_graphShown = true;
    Arrange();
}

int CMeasurementLayout::FullScreenStyle() const {
    return StyleFullScreen;
}

bool CMeasurementLayout::SetAsDefault() {
    if (m_selectedPanel == 0 || SelectedQuantity() == m_mainQuantity)
        return false;
    SetMainQuantity(SelectedQuantity());
    return true;
}

bool CMeasurementLayout::ToggleGraph() {
    if (IsFullScreen()) {
        m_fullScreenPanel = kNoPanel;
        m_graphShown = true;
        Arrange();
        return false;
    }
    bool changed = false;
    if (!m_graphShown && SelectedQuantity() != m_mainQuantity) {
        SetMainQuantity(SelectedQuantity());
        changed = true;
    }
    m_graphShown = !m_graphShown;
    return changed;
}

void CMeasurementLayout::Arrange() {
    switch (m_mainQuantity) {
    case ChannelAvg:
        m_slots = {0, 1, 2, 3};
        break;
    case ChannelVswr:
        m_slots = {0, 3, 1, 2};
        break;
    case ChannelPeak:
        m_slots = {0, 2, 1, 3};
        break;
    default:
        break;
    }
}
