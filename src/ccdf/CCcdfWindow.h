#pragma once

#include "model/PowerHistogram.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

// The most recent histograms of a CCDF measurement and their sum. The sum is kept up to date
// by adding the histogram that arrives and subtracting the one that leaves, so one update
// costs two histograms' worth of work however long the window is.
class CCcdfWindow {
public:
    using Histogram = PowerHistogram;
    // Keys ascending, as in a histogram; the sum of up to 100 histograms exceeds 32 bits.
    using MergedHistogram = std::vector<std::pair<int32_t, int64_t>>;

    // Number of histograms kept for the sample-count choice 0..3 (10 for any other choice).
    static uint32_t LengthForRate(int rateChoice);

    // Appends a histogram. A full window (length histograms) drops its oldest first; a window
    // longer than length (the choice was lowered) starts again with this histogram alone.
    // Bins without a positive count carry no samples and are left out. Keys out of order are
    // sorted, and of a key given twice the first count is taken.
    void Add(const Histogram& histogram, uint32_t length);
    void Clear();

    size_t Size() const { return m_histograms.size(); }
    const std::deque<Histogram>& Histograms() const { return m_histograms; }
    const MergedHistogram& Merged() const { return m_merged; }
    uint64_t Total() const { return m_total; }

private:
    void AddToMerged(const Histogram& histogram);
    void SubtractFromMerged(const Histogram& histogram);

    std::deque<Histogram> m_histograms;
    MergedHistogram m_merged;
    MergedHistogram m_spare; // the next sum is built here, then the two swap
    uint64_t m_total = 0;
};
