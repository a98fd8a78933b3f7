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

// The arrangement the live screens share: panel 0 the main readout showing the main quantity,
// three small panels in the slots around it and the history graph in the bottom row, in a
// two-by-two multi-screen view or one panel full screen, with the model's selection rules. A
// screen says which quantity each panel shows, which panels a model refuses and how the slots
// follow the main quantity.
class CReadoutGridLayout {
public:
    static constexpr int kPanelCount = 4;
    static constexpr int kGraphIndex = 4; // index of the graph in Geometry()
    static constexpr int kNoPanel = -1;

    enum class DoubleClickAction { None, MultiScreen, SetAsDefault, FullScreen };
    using Rects = std::array<PanelRect, kPanelCount + 1>;

    virtual ~CReadoutGridLayout() = default;

    // Back to the panel roles for the model, with its selection and main quantity.
    virtual void ConfigureForModel(int modelNumber) = 0;
    // True when the main quantity changed.
    virtual bool SetAsDefault() = 0;

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
    void SetMainQuantity(int quantity);
    // Each returns false when the view was not in the state the command starts from.
    bool FullScreen();
    bool MultiScreen();
    // What a double click does on a panel (kNoPanel for the gaps); the graph takes none.
    DoubleClickAction DoubleClick(int panel, bool onGraph);

    // Rectangles of the panels 0..3 and the graph (index 4) for a client area.
    Rects Geometry(int cx, int cy) const;
    // The same for any arrangement: the panels in the slots top left, top right, bottom left,
    // bottom right, or one panel filling the area.
    static Rects ViewGeometry(int cx, int cy, const std::array<int, kPanelCount>& slots, int fullScreenPanel,
                              bool graphShown);
    // The visible panel whose rectangle holds a point, or kNoPanel.
    static int PanelIn(const Rects& rects, int px, int py);
    // The visible panel under a point, or kNoPanel.
    int PanelAt(int cx, int cy, int px, int py) const;

protected:
    CReadoutGridLayout(int modelNumber, int mainQuantity, int selectedPanel, bool graphShown);

    // Quantity of a small panel by its role.
    virtual int RoleQuantityOf(int panel) const = 0;
    virtual bool IsSelectableNow(int panel) const = 0;
    // Style of a small panel shown full screen.
    virtual int FullScreenStyle() const = 0;
    // Whether multi-screen view shows the graph in the bottom row.
    virtual bool GraphInMultiScreen() const = 0;
    // The slots follow the main quantity on screens that move their panels.
    virtual void Arrange() {}

    int m_model;
    std::array<int, kPanelCount> m_slots{0, 1, 2, 3};
    int m_mainQuantity;
    int m_fullScreenPanel = kNoPanel;
    bool m_graphShown;
    int m_selectedPanel;
};
