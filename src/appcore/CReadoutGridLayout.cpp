#include "appcore/CReadoutGridLayout.h"

#include "appcore/ReadoutItem.h"

#include <algorithm>

namespace {

PanelRect Rect(int x, int y, int width, int height, bool visible) {
    return {x, y, std::max(width, 0), std::max(height, 0), visible};
}

} // namespace

CReadoutGridLayout::CReadoutGridLayout(int modelNumber, int mainQuantity, int selectedPanel, bool graphShown)
    : m_model(modelNumber), m_mainQuantity(mainQuantity), m_graphShown(graphShown),
      m_selectedPanel(selectedPanel) {}

int CReadoutGridLayout::PanelQuantity(int panel) const {
    return panel == 0 ? m_mainQuantity : RoleQuantityOf(panel);
}

int CReadoutGridLayout::PanelStyle(int panel) const {
    if (panel == 0)
        return StyleMain;
    return panel == m_fullScreenPanel ? FullScreenStyle() : StyleSmall;
}

bool CReadoutGridLayout::Select(int panel) {
    if (!IsSelectableNow(panel))
        return false;
    m_selectedPanel = panel;
    return true;
}

void CReadoutGridLayout::SetMainQuantity(int quantity) {
    m_mainQuantity = quantity;
    Arrange();
}

bool CReadoutGridLayout::FullScreen() {
    if (IsFullScreen())
        return false;
    m_fullScreenPanel = m_selectedPanel;
    m_graphShown = false;
    SetMainQuantity(PanelQuantity(m_selectedPanel));
    return true;
}

bool CReadoutGridLayout::MultiScreen() {
    if (!IsFullScreen())
        return false;
    m_fullScreenPanel = kNoPanel;
    m_graphShown = GraphInMultiScreen();
    Arrange();
    return true;
}

CReadoutGridLayout::DoubleClickAction CReadoutGridLayout::DoubleClick(int panel, bool onGraph) {
    if (onGraph)
        return DoubleClickAction::None;
    if (IsFullScreen())
        return DoubleClickAction::MultiScreen;
    Select(panel);
    const bool smallPanel = panel >= 1 && panel < kPanelCount;
    if (smallPanel && PanelQuantity(panel) != m_mainQuantity && IsSelectableNow(panel))
        return DoubleClickAction::SetAsDefault;
    return DoubleClickAction::FullScreen;
}

CReadoutGridLayout::Rects CReadoutGridLayout::Geometry(int cx, int cy) const {
    return ViewGeometry(cx, cy, m_slots, m_fullScreenPanel, m_graphShown);
}

CReadoutGridLayout::Rects CReadoutGridLayout::ViewGeometry(int cx, int cy,
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

int CReadoutGridLayout::PanelAt(int cx, int cy, int px, int py) const {
    return PanelIn(Geometry(cx, cy), px, py);
}

int CReadoutGridLayout::PanelIn(const Rects& rects, int px, int py) {
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (rects[static_cast<size_t>(panel)].Contains(px, py))
            return panel;
    }
    return kNoPanel;
}
