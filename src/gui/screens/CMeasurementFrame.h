#pragma once

#include "appcore/CMeasurementLink.h"
#include "gui/screens/CScreenFrame.h"

#include <memory>

class CMeasurementView;
class CSettingProfile;

// The AVG & PEAK screen's child frame: hosts the view and hands it the commands the shared
// screen machinery does not handle.
class CMeasurementFrame : public CScreenFrame {
    Q_OBJECT

public:
    // Measures through the link.
    CMeasurementFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link,
                      QWidget* parent = nullptr);

    CMeasurementView* View() const { return m_view; }
    void Configure() override;
    int MainQuantity() const override;
    void ApplySettings() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

private:
    CMeasurementView* m_view;
};
