#pragma once

#include "appcore/CReadoutGridLayout.h"

// The arrangement of the PULSE screen: panel 0 the main readout, panels 1 PULSE, 2 PEAK and
// 3 VSWR/PAR, each in a fixed slot, with the history graph of the main quantity in the bottom
// row; or one panel full screen. The model decides which panels may be selected.
class CPulseLayout : public CReadoutGridLayout {
public:
    explicit CPulseLayout(int modelNumber = 0);

    // Panel 1, 2 or 3 by the model's capabilities: PULSE, else PEAK, else VSWR; else `current`.
    static int InitialSelection(int modelNumber, int current);
    // Sensors without PEAK and VSWR readouts refuse panels 2 and 3, PEAK-only sensors 1 and 3.
    static bool IsSelectable(int modelNumber, int panel);
    // Quantity of a panel at its creation.
    static int RoleQuantity(int panel);

    // Back to the panel roles and multi-screen view with the graph, selection by the model.
    void ConfigureForModel(int modelNumber) override;
    // Panel 0 goes back to PULSE unless the selection already shows what it shows; true when it did.
    bool SetAsDefault() override;

private:
    int RoleQuantityOf(int panel) const override { return RoleQuantity(panel); }
    bool IsSelectableNow(int panel) const override { return IsSelectable(m_model, panel); }
    int FullScreenStyle() const override;
    bool GraphInMultiScreen() const override { return true; }
};
