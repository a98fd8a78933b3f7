#pragma once

#include "model/MeterThresholdCollection.h"
#include "platform/CMessageBeep.h"

// Display range, limits and alarm settings of one measured quantity.
struct RangeLimitItem {
    float displayMin = 0.0f;
    float displayMax = 0.0f;
    bool limitEnabled = false;
    bool alarmOn = false;
    float lowLimit = 0.0f;
    float highLimit = 0.0f;
    int beepSound = 0; // 0..3, "Beep 1".."Beep 4"

    // Display range and limits both set to the range; checks off.
    static RangeLimitItem FromRange(float minimum, float maximum);

    // Limit checking and alarm are on and the value lies outside the limits (a limit itself is inside).
    bool IsAlarm(float value) const;
    // Plays the chosen sound when IsAlarm holds; returns IsAlarm.
    bool SoundAlarm(float value) const;
    BeepType Beep() const;
    // Red outside the limits, green inside, clipped to the display range; empty when limits are off.
    void BuildBands(MeterThresholdCollection& bands) const;
};
