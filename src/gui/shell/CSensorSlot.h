#pragma once

#include "appcore/CSensorSession.h"
#include "gui/shell/CChildFrameFactory.h"
#include "model/CSettingProfile.h"

#include <QString>

#include <memory>

class CMainFrame;
class CMeterLink;

// A sensor connected beside the first: its own engine link, settings, session and screens.
// Its settings live in a file of its own (model and serial number), so that two sensors of one
// model never share them. The first sensor stays the main frame's own, so that with one sensor
// everything is as it was. A slot whose sensor was let go is used again for the next one.
class CSensorSlot : private CSessionWindow {
public:
    // `index` 1..3 tells its screens from the first sensor's (0).
    CSensorSlot(int index, std::unique_ptr<CMeterLink> link, CMainFrame& frame);
    ~CSensorSlot() override;
    CSensorSlot(const CSensorSlot&) = delete;
    CSensorSlot& operator=(const CSensorSlot&) = delete;

    int Index() const { return m_index; }
    CSensorSession& Session() { return m_session; }
    const CSensorSession& Session() const { return m_session; }
    CSettingProfile& Profile() { return m_profile; }
    CChildFrameFactory& Factory() { return m_factory; }
    // Neither connected nor on its way: free for another sensor.
    bool IsFree() const;
    // "USB, VL-D030 #10002": port, model and serial number, as its screens' captions show.
    QString Caption() const;

private:
    void StopScreens() override;
    bool OfferToSaveScreens() override;
    void ForgetScreenMeasurements() override;
    void ConfigureScreens() override;
    void SensorReleased() override;
    void SessionChanged() override;
    void ShowBusy(bool busy) override;
    bool OpenHistory(const std::string& path) override;

    int m_index;
    CMainFrame& m_frame;
    CSettingProfile m_profile;
    CSensorSession m_session;
    CChildFrameFactory m_factory;
};
