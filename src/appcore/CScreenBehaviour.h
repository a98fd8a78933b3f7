#pragma once

#include "appcore/CMeasurementLink.h"

#include <cstdint>

// What differs between the measurement screens that share one CScreenController.
class CScreenBehaviour {
public:
    virtual ~CScreenBehaviour() = default;
    // The channel whose values make a measurement worth keeping; -1 for a screen that saves none.
    virtual int MainChannel() const = 0;
    // The channels a saved history holds.
    virtual uint8_t SaveMask() const = 0;
    // The channels a measurement fills, which a row without a reading covers.
    virtual uint8_t RecordedMask() const { return SaveMask(); }
    // The sensor was lost: what was shown as current is no longer measured.
    virtual void ShowNoValue() {}
    // The recording was cleared (Start and Reset): the screen clears what it shows of it.
    virtual void ResetData() = 0;
    // The set-up Start sends before the first request, or an empty job.
    virtual CMeasurementLink::SetupJob StartSetup() { return {}; }
    // Whether a measurement whose set-up was refused still gets its start time.
    virtual bool KeepsStartAfterRefusedSetup() const { return true; }
    // The set-up sent at Start has ended.
    virtual void OnSetupDone(bool /*acknowledged*/) {}
};
