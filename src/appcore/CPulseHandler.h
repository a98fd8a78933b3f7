#pragma once

#include "appcore/CScreenBehaviour.h"
#include "appcore/CScreenController.h"
#include "protocol/CReadingReceiver.h"

#include <cstdint>
#include <memory>
#include <string>

class CMeasurementDisplay;
class CMeasurementLink;
class CScreenNotices;
class CSettingProfile;

// What the PULSE screen adds to the shared machinery: the pulse query as its one request, the
// pulse set-up (and model 5's direction check) at Start, and each reply turned into the
// corrected pulse power in the PULSE channel, the duty cycle and the burst width, with the
// limit check and alarm. Every member runs on one thread; readings that the engine delivers on
// its worker must be forwarded to that thread first.
class CPulseHandler : public CReadingReceiver, private CScreenBehaviour {
public:
    static constexpr uint8_t kSaveMask = 0x08;

    CPulseHandler(CSettingProfile& profile, CMeasurementLink& link, CMeasurementDisplay& display,
                  CScreenNotices& notices);

    CScreenController& Controller() { return m_controller; }
    const CScreenController& Controller() const { return m_controller; }
    const CRecordStore& Records() const { return m_controller.Recording().Records(); }

    void OnPulseReading(int32_t state, int32_t pulsePower, int32_t value1, int32_t value2, int32_t value3,
                        int32_t value4) override;

private:
    // Model 5's forward and reverse power as the set-up job found them; not done when the
    // exchange failed.
    struct DirectionCheck {
        bool done = false;
        bool reverseAbove = false;
        int32_t forward = -1;
        int32_t reverse = -1;
    };

    int MainChannel() const override;
    uint8_t SaveMask() const override { return kSaveMask; }
    void ResetData() override;
    void ShowNoValue() override;
    CMeasurementLink::SetupJob StartSetup() override;
    void OnSetupDone(bool acknowledged) override;
    // Model 5 measured more reverse than forward power: the status-bar text with both raw powers.
    static std::string DirectionWarning(int32_t forward, int32_t reverse);

    CSettingProfile& m_profile;
    CMeasurementDisplay& m_display;
    CScreenNotices& m_notices;
    std::shared_ptr<DirectionCheck> m_directionCheck;
    CScreenController m_controller;
};
