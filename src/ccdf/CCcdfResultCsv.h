#pragma once

#include "ccdf/CCcdfResult.h"

#include <cstddef>
#include <string>

class CSettingProfile;

// A CCDF result kept as CSV (8-bit text, CR LF lines): the sensor, the settings, the statistics
// and the curve with the noise reference beside each point.
class CCcdfResultCsv {
public:
    // What the screen measured with besides its result.
    struct SConditions {
        const CSettingProfile* profile = nullptr;
        size_t windowSize = 0; // histograms in the window
        int identificationCode = -1;
    };

    static std::string Format(const CCcdfResult& result, const SConditions& conditions);
    // Writes Format() to `path`; an existing file is replaced only on success.
    static bool Write(const std::string& path, const CCcdfResult& result, const SConditions& conditions,
                      std::string* error = nullptr);

    // The reference's probability (percent) at x dB above average; nothing beyond its table.
    static std::string ReferencePercent(float x);
};
