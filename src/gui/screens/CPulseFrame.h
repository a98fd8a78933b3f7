#pragma once

#include "appcore/CMeasurementLink.h"
#include "gui/screens/CScreenFrame.h"

#include <memory>

class CPulseView;
class CSettingProfile;

// The PULSE screen's child frame: hosts the view and hands it the commands the shared screen
// machinery does not handle.
class CPulseFrame : public CScreenFrame {
    Q_OBJECT

public:
    // Measures through the link.
    CPulseFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, QWidget* parent = nullptr);

    CPulseView* View() const { return m_view; }
    void Configure() override;
    int MainQuantity() const override;
    void ApplySettings() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

private:
    CPulseView* m_view;
};
