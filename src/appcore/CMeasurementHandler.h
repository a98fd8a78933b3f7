#pragma once

#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenController.h"
#include "protocol/CReadingReceiver.h"

#include <cstdint>
#include <vector>

class CMeasurementDisplay;
class CMeasurementLink;
class CScreenNotices;
class CSettingProfile;

// What the AVG & PEAK screen adds to the shared machinery: its request cycle per model, its
// averaging set-up at Start, and turning replies into stored values with limit checks and
// alarms. Every member runs on one thread; readings that the engine delivers on its worker
// must be forwarded to that thread first.
class CMeasurementHandler : public CReadingReceiver, private CScreenBehaviour {
public:
    CMeasurementHandler(CSettingProfile& profile, CMeasurementLink& link, CMeasurementDisplay& display,
                        CScreenNotices& notices);

    // The request kinds the model's measurement asks for in turn.
    static std::vector<int32_t> RequestCycle(int modelNumber);
    // The channel a measurement of the model always fills: PEAK for peak-only sensors, else AVG.
    static int MainChannel(int modelNumber);
    // The channels a saved history of the model holds.
    static uint8_t SaveMask(int modelNumber);

    CScreenController& Controller() { return m_controller; }
    const CScreenController& Controller() const { return m_controller; }
    const CRecordStore& Records() const { return m_controller.Recording().Records(); }
    // Restarts the request cycle for the profile's model.
    void ConfigureForModel();

    void OnAvgReading(int32_t state, int32_t value) override;
    void OnForwardReverseReading(int32_t state, int32_t forward, int32_t reverse) override;
    void OnPeakReading(int32_t state, int32_t value) override;
    void OnRevReading(int32_t state, int32_t value) override;

private:
    int MainChannel() const override;
    uint8_t SaveMask() const override;
    uint8_t RecordedMask() const override;
    void ShowNoValue() override;
    void ResetData() override;
    CMeasurementLink::SetupJob StartSetup() override;

    int ModelNumber() const;
    bool Accept(int32_t state);
    float Scaled(int32_t raw) const;
    void StoreChecked(int channel, float value);
    void Store(int channel, float value);
    void Finish();

    CSettingProfile& m_profile;
    CMeasurementDisplay& m_display;
    CScreenNotices& m_notices;
    CScreenController m_controller;
};
