#include "platform/CLocalTime.h"

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include <mmsystem.h>
#endif

int64_t CLocalTime::Now() {
    return static_cast<int64_t>(std::time(nullptr));
}

LocalTimeFields CLocalTime::Fields(int64_t secondsSinceEpoch) {
    const std::time_t moment = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    LocalTimeFields fields;
#ifdef _WIN32
    if (localtime_s(&local, &moment) != 0)
        return fields;
#else
    if (!localtime_r(&moment, &local))
        return fields;
#endif
    fields.year = local.tm_year + 1900;
    fields.month = local.tm_mon + 1;
    fields.day = local.tm_mday;
    fields.hour = local.tm_hour;
    fields.minute = local.tm_min;
    fields.second = local.tm_sec;
    return fields;
}

uint32_t CLocalTime::Milliseconds() {
#ifdef _WIN32
    return timeGetTime();
#else
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
#endif
}
