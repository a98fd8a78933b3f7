#pragma once

#include "appcore/CMeasurementHandler.h"
#include "appcore/CMeasurementLayout.h"
#include "gui/screens/CReadoutGridView.h"

class CScreenNotices;

// The AVG & PEAK screen's one window: four readouts and the history graph in a two-by-two or
// full-screen arrangement that follows the main quantity, and the history-graph command.
// Readings reach Handler() on the user-interface thread; measuring is the frame's.
class CMeasurementView : public CReadoutGridView {
    Q_OBJECT

public:
    CMeasurementView(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                     CScreenNotices& notices, QWidget* parent = nullptr);

    CMeasurementHandler& Handler() { return m_handler; }
    const CMeasurementLayout& Layout() const { return static_cast<const CMeasurementLayout&>(GridLayout()); }

    // Adapts the panels, the graph and the request cycle to the connected model.
    void ConfigureForModel() override;
    // The setting dialog changed the profile: everything redraws.
    void ApplySettings() { RedrawAll(); }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

private:
    void ShowAlarm(int quantity, bool alarm) override;
    int RuleQuantity() const override { return Layout().SelectedQuantity(); }
    CMeasurementLayout& MutableLayout() { return static_cast<CMeasurementLayout&>(GridLayout()); }
    void OnHistoryGraph();

    CMeasurementHandler m_handler;
};
