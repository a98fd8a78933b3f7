#include "ccdf/CCcdfAcquisition.h"

#include "ccdf/CCcdfStatistics.h"

#include <algorithm>

void CCcdfAcquisition::Restart() {
    ++m_generation;
    m_window.Clear();
    m_result = CCcdfResult{};
}

bool CCcdfAcquisition::Add(uint64_t generation, const CCcdfWindow::Histogram& histogram,
                           const SSettings& settings) {
    if (generation != m_generation)
        return false;
    const bool hasSamples =
        std::any_of(histogram.begin(), histogram.end(), [](const auto& bin) { return bin.second > 0; });
    if (!hasSamples) {
        m_result = CCcdfResult{};
        return true;
    }
    m_window.Add(histogram, CCcdfWindow::LengthForRate(settings.rateChoice));
    m_result = CCcdfStatistics::Compute(m_window.Merged(), m_window.Total(), settings.technology);
    return true;
}

bool CCcdfAcquisition::IsSweepComplete(const SSettings& settings) const {
    return settings.singleSweep && m_window.Size() >= CCcdfWindow::LengthForRate(settings.rateChoice);
}
