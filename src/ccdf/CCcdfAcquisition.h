#pragma once

#include "ccdf/CCcdfResult.h"
#include "ccdf/CCcdfWindow.h"

#include <cstdint>

// The measuring side of the CCDF screen, shared with the command line: counts each histogram
// the sensor delivers into the acquisition window and recomputes the result.
//
// Every Restart begins a new generation. A caller notes the generation when it asks the sensor
// for a histogram and hands it back with the histogram, so that a histogram asked for before a
// restart never lands in the new window.
class CCcdfAcquisition {
public:
    struct SSettings {
        int rateChoice = 0; // sample-count choice 0..3
        bool singleSweep = false;
        int technology = 7;
    };

    // Empties the window and the result; histograms of earlier generations are refused.
    void Restart();
    uint64_t Generation() const { return m_generation; }

    // Counts one histogram and recomputes the result. An empty histogram (no samples) leaves
    // the window alone but shows no measurement. False, and nothing changes, for a histogram
    // of an earlier generation.
    bool Add(uint64_t generation, const CCcdfWindow::Histogram& histogram, const SSettings& settings);

    // A single sweep is complete once the window holds its full length.
    bool IsSweepComplete(const SSettings& settings) const;

    const CCcdfResult& Result() const { return m_result; }
    const CCcdfWindow& Window() const { return m_window; }

private:
    CCcdfWindow m_window;
    CCcdfResult m_result;
    uint64_t m_generation = 0;
};
