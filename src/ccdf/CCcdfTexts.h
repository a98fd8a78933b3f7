#pragma once

#include "ccdf/CCcdfResult.h"

#include <cstddef>
#include <string>

// Number texts of the CCDF panes and graph that do not come from the language file.
class CCcdfTexts {
public:
    // "70,000 / 200,000": samples in the window (10,000 per histogram) against the target of
    // the sample-count choice; an unknown choice gives an empty text.
    static std::string SampleProgress(size_t windowSize, int rateChoice);
    // The value with 0, 1 or 2 decimals; other choices give an empty text.
    static std::string Decimal(double value, int decimalPlaces);
    // "Marker : 3.25 dB, 1.234 %" for a curve point.
    static std::string MarkerSubtitle(const CcdfPoint& point);
    // Average power as shown: one sensor reports its histogram 35 dB high.
    static double DisplayedAverage(const CCcdfResult& result, int identificationCode);
};
