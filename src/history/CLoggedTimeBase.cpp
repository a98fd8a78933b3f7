#include "history/CLoggedTimeBase.h"

#include "history/CHistoryRecorder.h"
#include "model/CSettingProfile.h"
#include "platform/CLocalTime.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {
constexpr uint8_t kLoggingBits = 0x0F;

int32_t SerialOf(const std::string& text) {
    int32_t serial = -1;
    std::from_chars(text.data(), text.data() + text.size(), serial);
    return serial;
}
} // namespace

LoggingRun CLoggedTimeBase::StartedNow(const CSettingProfile& profile) {
    LoggingRun run;
    run.started =
        static_cast<int32_t>(std::clamp<int64_t>(CLocalTime::Now(), 0, std::numeric_limits<int32_t>::max()));
    run.serial = SerialOf(profile.GetSerialText());
    run.intervalSeconds = profile.GetLoggingInterval();
    run.channels = profile.GetLoggingItems() & kLoggingBits;
    return run;
}

bool CLoggedTimeBase::Fits(const LoggingRun& run, const std::string& serialText, uint8_t mask) {
    return run.IsKnown() && run.serial == SerialOf(serialText) && run.channels == (mask & kLoggingBits);
}

void CLoggedTimeBase::Stamp(HistoryHeader& header, const LoggingRun& run, const std::string& serialText,
                            int rowCount) {
    if (!Fits(run, serialText, header.Mask())) {
        for (HistoryText field : {HistoryText::StartTime, HistoryText::StopTime, HistoryText::Interval})
            header.SetText(field, "");
        return;
    }
    const int64_t stop = run.started + static_cast<int64_t>(run.intervalSeconds) * std::max(rowCount - 1, 0);
    header.SetText(HistoryText::StartTime, CHistoryRecorder::TimeText(run.started));
    header.SetText(HistoryText::StopTime, CHistoryRecorder::TimeText(stop));
    header.SetText(HistoryText::Interval, CHistoryRecorder::IntervalText(0, run.intervalSeconds, 1));
}
