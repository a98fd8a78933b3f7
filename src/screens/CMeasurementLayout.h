#pragma once

#include <array>

// A child window's place in the view, in client coordinates.
struct PanelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool visible = false;

    bool Contains(int px, int py) const {
        return visible && px >= x && py >= y && px < x + width && py < y + height;
    }
    bool operator==(const PanelRect&) const = default;
};

// The arrangement of the AVG & PEAK screen: four readout panels (0 the main readout showing
// the main quantity, 1 AVG, 2 PEAK, 3 VSWR/PAR) and the history graph, in a two-by-two
// multi-screen view or one panel full screen, with the selection rules of each model.
class CMeasurementLayout {
public:
    static constexpr int kPanelCount = 4;
    static constexpr int kGraphIndex = 4; // index of the graph in Geometry()
    static constexpr int kNoPanel = -1;

    enum class DoubleClickAction { None, MultiScreen, SetAsDefault, FullScreen };

    explicit CMeasurementLayout(int modelNumber = 0);

    // Panel 1, 2 or 3 by the model's capabilities: AVG, else PEAK, else VSWR; else panel 1.
    static int InitialSelection(int modelNumber);
    // AVG-only sensors show no PEAK or VSWR panel, PEAK-only sensors no AVG or VSWR panel.
    static bool IsSelectable(int modelNumber, int panel);
    static bool IsGraphAllowed(int modelNumber);
    static bool ShowsGraphInMultiScreen(int modelNumber);
    // The small panel that shows a quantity, or kNoPanel.
    static int PanelOfQuantity(int quantity);
    // Quantity of a small panel at its creation; panel 0 shows the main quantity.
    static int RoleQuantity(int panel);

    // Back to the roles of the panels for the model, with its selection and main quantity.
    void ConfigureForModel(int modelNumber);

    int ModelNumber() const { return m_model; }
    int MainQuantity() const { return m_mainQuantity; }
    int FullScreenPanel() const { return m_fullScreenPanel; }
    bool IsFullScreen() const { return m_fullScreenPanel != kNoPanel; }
    bool IsGraphShown() const { return m_graphShown; }
    int SelectedPanel() const { return m_selectedPanel; }
    int SelectedQuantity() const { return PanelQuantity(m_selectedPanel); }
    int PanelQuantity(int panel) const;
    int PanelStyle(int panel) const;
    const std::array<int, kPanelCount>& Slots() const { return m_slots; }

    // False when the model refuses the panel or no panel was hit; the selection is kept then.
    bool Select(int panel);
    // True when the main quantity changed.
    bool SetAsDefault();
    void SetMainQuantity(int quantity);
    // Each returns false when the view was not in the state the command starts from.
    bool FullScreen();
    bool MultiScreen();
    // True when the main quantity changed.
    bool ToggleGraph();
    // What a double click does on a panel (kNoPanel for the gaps); the graph takes none.
    DoubleClickAction DoubleClick(int panel, bool onGraph);

    using Rects = std::array<PanelRect, kPanelCount + 1>;

    // Rectangles of the panels 0..3 and the graph (index 4) for a client area.
    Rects Geometry(int cx, int cy) const;
    // The same for any screen of this shape: the panels in the slots top left, top right, bottom
    // left, bottom right, or one panel filling the area.
    static Rects ViewGeometry(int cx, int cy, const std::array<int, kPanelCount>& slots, int fullScreenPanel,
                              bool graphShown);
    // The visible panel whose rectangle holds a point, or kNoPanel.
    static int PanelIn(const Rects& rects, int px, int py);
    // The visible panel under a point, or kNoPanel.
    int PanelAt(int cx, int cy, int px, int py) const;

private:
    void Arrange();

    int m_model;
    std::array<int, kPanelCount> m_slots{0, 1, 2, 3};
    int m_mainQuantity = 0;
    int m_fullScreenPanel = kNoPanel;
    bool m_graphShown = false;
    int m_selectedPanel = 1;
};
