#pragma once

#include "appcore/CPulseHandler.h"
#include "appcore/CPulseLayout.h"
#include "gui/screens/CReadoutGridView.h"

class CScreenNotices;

// The PULSE screen's one window: four readouts in fixed slots and the live graph of the main
// quantity below them, or one readout full screen, with the screen's view commands. The
// measuring commands belong to the frame. Readings reach Handler() on the user-interface thread.
class CPulseView : public CReadoutGridView {
    Q_OBJECT

public:
    CPulseView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, CScreenNotices& notices,
               QWidget* parent = nullptr);

    CPulseHandler& Handler() { return m_handler; }
    const CPulseLayout& Layout() const { return static_cast<const CPulseLayout&>(GridLayout()); }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

private:
    void ShowAlarm(int quantity, bool alarm) override;
    // The rules show the main readout's state.
    int RuleQuantity() const override { return Layout().MainQuantity(); }

    CPulseHandler m_handler;
};
