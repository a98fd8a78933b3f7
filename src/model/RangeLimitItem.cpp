#include "model/RangeLimitItem.h"

#include <algorithm>

RangeLimitItem RangeLimitItem::FromRange(float minimum, float maximum) {
    RangeLimitItem item;
    item.displayMin = item.lowLimit = minimum;
    item.displayMax = item.highLimit = maximum;
    return item;
}

bool RangeLimitItem::IsAlarm(float value) const {
    return limitEnabled && alarmOn && (value < lowLimit || value > highLimit);
}

bool RangeLimitItem::SoundAlarm(float value) const {
    if (!IsAlarm(value))
        return false;
    CMessageBeep::Play(Beep());
    return true;
}

BeepType RangeLimitItem::Beep() const {
    switch (beepSound) {
    case 1:
        return BeepType::Information;
    case 2:
        return BeepType::Exclamation;
    case 3:
        return BeepType::Stop;
    default:
        return BeepType::Default;
    }
}

void RangeLimitItem::BuildBands(MeterThresholdCollection& bands) const {
    bands.RemoveAll();
    if (!limitEnabled)
        return;
    const double dmin = displayMin;
    const double dmax = displayMax;
    if (dmin >= highLimit || lowLimit >= dmax) {
        bands.Append({kBandRed, dmin, dmax});
        return;
    }
    const double low = std::max<double>(lowLimit, dmin);
    const double high = std::min<double>(highLimit, dmax);
    if (low > dmin)
        bands.Append({kBandRed, dmin, low});
    bands.Append({kBandGreen, low, high});
    if (dmax > high)
        bands.Append({kBandRed, high, dmax});
}
