#pragma once

#include "ccdf/CCcdfResult.h"
#include "ccdf/CCcdfWindow.h"

// Average and peak power, crest factor, curve, levels and probabilities of a merged histogram.
class CCcdfStatistics {
public:
    // The sensor's histograms of these technologies read high by a fixed amount (dB).
    static double TechnologyCorrection(int technology);

    static CCcdfResult Compute(const CCcdfWindow::MergedHistogram& merged, uint64_t total, int technology);

private:
    static double LinearAverage(const CCcdfWindow::MergedHistogram& merged, uint64_t total);
    static void WalkDown(const CCcdfWindow::MergedHistogram& merged, CCcdfResult& result);
};
