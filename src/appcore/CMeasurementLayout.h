#pragma once

#include "appcore/CReadoutGridLayout.h"

// The arrangement of the AVG & PEAK screen: panel 0 the main readout, panels 1 AVG, 2 PEAK and
// 3 VSWR/PAR, moved into the slots by the main quantity; the graph replaces the bottom row on
// request, and always for sensors that fill only one readout.
class CMeasurementLayout : public CReadoutGridLayout {
public:
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

    void ConfigureForModel(int modelNumber) override;
    bool SetAsDefault() override;
    // True when the main quantity changed.
    bool ToggleGraph();

private:
    int RoleQuantityOf(int panel) const override { return RoleQuantity(panel); }
    bool IsSelectableNow(int panel) const override { return IsSelectable(m_model, panel); }
    int FullScreenStyle() const override;
    bool GraphInMultiScreen() const override { return ShowsGraphInMultiScreen(m_model); }
    void Arrange() override;
};
