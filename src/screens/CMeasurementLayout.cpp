#include "screens/CMeasurementLayout.h"

#include "model/CModelTable.h"
#include "model/HistoryChannel.h"
#include "screens/ReadoutItem.h"

#include <algorithm>

namespace {

PanelRect Rect(int x, int y, int width, int height, bool visible) {
    return {x, y, std::max(width, 0), std::max(height, 0), visible};
}

} // namespace

CMeasurementLayout::CMeasurementLayout(int modelNumber)
    : m_model(modelNumber), m_selectedPanel(InitialSelection(modelNumber)) {
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

int CMeasurementLayout::PanelQuantity(int panel) const {
    return panel == 0 ? m_mainQuantity : RoleQuantity(panel);
}

int CMeasurementLayout::PanelStyle(int panel) const {
    if (panel == 0)
        return StyleMain;
    return panel == m_fullScreenPanel ? StyleFullScreen : StyleSmall;
}

bool CMeasurementLayout::Select(int panel) {
    if (!IsSelectable(m_model, panel))
        return false;
    m_selectedPanel = panel;
    return true;
}

bool CMeasurementLayout::SetAsDefault() {
    if (m_selectedPanel == 0 || SelectedQuantity() == m_mainQuantity)
        return false;
    SetMainQuantity(SelectedQuantity());
    return true;
}

void CMeasurementLayout::SetMainQuantity(int quantity) {
    m_mainQuantity = quantity;
    Arrange();
}

bool CMeasurementLayout::FullScreen() {
    if (IsFullScreen())
        return false;
    m_fullScreenPanel = m_selectedPanel;
    m_graphShown = false;
    SetMainQuantity(PanelQuantity(m_selectedPanel));
    return true;
}

bool CMeasurementLayout::MultiScreen() {
    if (!IsFullScreen())
        return false;
    m_fullScreenPanel = kNoPanel;
    m_graphShown = ShowsGraphInMultiScreen(m_model);
    Arrange();
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

CMeasurementLayout::DoubleClickAction CMeasurementLayout::DoubleClick(int panel, bool onGraph) {
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

CMeasurementLayout::Rects CMeasurementLayout::Geometry(int cx, int cy) const {
    return ViewGeometry(cx, cy, m_slots, m_fullScreenPanel, m_graphShown);
}

CMeasurementLayout::Rects CMeasurementLayout::ViewGeometry(int cx, int cy,
                                                           const std::array<int, kPanelCount>& slots,
                                                           int fullScreenPanel, bool graphShown) {
    Rects rects{};
    if (fullScreenPanel >= 0 && fullScreenPanel < kPanelCount) {
        rects[static_cast<size_t>(fullScreenPanel)] = Rect(0, 0, cx, cy, true);
        return rects;
    }
    const int e = (cx - 3) / 2;
    const int c = (cy - 3) / 2;
    const bool bottomVisible = !graphShown;
    const PanelRect slotRects[kPanelCount] = {
        Rect(1, 1, e, c, true),
        Rect(e + 2, 1, cx - e - 3, c, true),
        Rect(1, c + 2, e, c, bottomVisible),
        Rect(e + 2, c + 2, cx - e - 3, cy - c - 3, bottomVisible),
    };
    for (size_t slot = 0; slot < kPanelCount; ++slot)
        rects[static_cast<size_t>(slots[slot])] = slotRects[slot];
    rects[kGraphIndex] = Rect(1, c + 2, cx - 2, cy - c - 3, graphShown);
    return rects;
}

int CMeasurementLayout::PanelAt(int cx, int cy, int px, int py) const {
    return PanelIn(Geometry(cx, cy), px, py);
}

int CMeasurementLayout::PanelIn(const Rects& rects, int px, int py) {
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (rects[static_cast<size_t>(panel)].Contains(px, py))
            return panel;
    }
    return kNoPanel;
}
