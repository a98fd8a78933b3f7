#pragma once

#include "screens/CMeasurementLayout.h"

#include <array>

// The arrangement of the PULSE screen: panel 0 the main readout, panels 1 PULSE, 2 PEAK and
// 3 VSWR/PAR, each in a fixed slot, with the history graph of the main quantity in the bottom
// row; or one panel full screen. The model decides which panels may be selected.
class CPulseLayout {
public:
    static constexpr int kPanelCount = CMeasurementLayout::kPanelCount;
    static constexpr int kGraphIndex = CMeasurementLayout::kGraphIndex;
    static constexpr int kNoPanel = CMeasurementLayout::kNoPanel;
    using DoubleClickAction = CMeasurementLayout::DoubleClickAction;

    explicit CPulseLayout(int modelNumber = 0);

    // Panel 1, 2 or 3 by the model's capabilities: PULSE, else PEAK, else VSWR; else `current`.
    static int InitialSelection(int modelNumber, int current);
    // Sensors without PEAK and VSWR readouts refuse panels 2 and 3, PEAK-only sensors 1 and 3.
    static bool IsSelectable(int modelNumber, int panel);
    // Quantity of a panel at its creation.
    static int RoleQuantity(int panel);

    // Back to the panel roles and multi-screen view with the graph, selection by the model.
    void ConfigureForModel(int modelNumber);

    int MainQuantity() const { return m_mainQuantity; }
    bool IsFullScreen() const { return m_fullScreenPanel != kNoPanel; }
    bool IsGraphShown() const { return m_graphShown; }
    int SelectedPanel() const { return m_selectedPanel; }
    int SelectedQuantity() const { return PanelQuantity(m_selectedPanel); }
    int PanelQuantity(int panel) const;
    int PanelStyle(int panel) const;

    // False when the model refuses the panel or no panel was hit; the selection is kept then.
    bool Select(int panel);
    // Panel 0 goes back to PULSE unless the selection already shows what it shows; true when it did.
    bool SetAsDefault();
    // Each returns false when the view was not in the state the command starts from.
    bool FullScreen();
    bool MultiScreen();
    // What a double click does on a panel (kNoPanel for the gaps); the graph takes none.
    DoubleClickAction DoubleClick(int panel, bool onGraph);

    // Rectangles of the panels 0..3 and the graph (index 4) for a client area.
    CMeasurementLayout::Rects Geometry(int cx, int cy) const;
    // The visible panel under a point, or kNoPanel.
    int PanelAt(int cx, int cy, int px, int py) const;

private:
    static constexpr std::array<int, kPanelCount> kFixedSlots{0, 1, 2, 3};

    int m_model;
    int m_mainQuantity;
    int m_fullScreenPanel = kNoPanel;
    bool m_graphShown = true;
    int m_selectedPanel = 1;
};
