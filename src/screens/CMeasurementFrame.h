#pragma once

#include "app/CChildFrame.h"
#include "app/CQueuedReceiver.h"
#include "screens/CMeasurementLink.h"

#include <memory>

class CMeasurementView;
class CSettingProfile;

// The AVG & PEAK screen's child frame: hosts the view, hands it the commands first and the
// engine's readings on the user-interface thread, and stops the measurement when it closes.
class CMeasurementFrame : public CChildFrame {
    Q_OBJECT

public:
    // Without a profile the registered one is used; without a link the acquisition engine.
    explicit CMeasurementFrame(CSettingProfile* profile = nullptr,
                               std::unique_ptr<CMeasurementLink> link = nullptr, QWidget* parent = nullptr);

    CMeasurementView* View() const { return m_view; }
    CReadingReceiver* Receiver() override { return &m_receiver; }
    void Configure() override;
    int MainQuantity() const override;
    void ApplySettings() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static CSettingProfile& ProfileToUse(CSettingProfile* profile);

    CMeasurementView* m_view;
    CQueuedReceiver m_receiver;
};
