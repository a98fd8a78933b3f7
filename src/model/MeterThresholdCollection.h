#pragma once

#include <cstddef>
#include <list>

#include "model/MeterThreshold.h"

// Bands in the order they were added; the gauge draws them in that order.
class MeterThresholdCollection {
public:
    using const_iterator = std::list<MeterThreshold>::const_iterator;

    void Append(const MeterThreshold& band);
    void RemoveAll();
    std::size_t Count() const { return m_bands.size(); }
    bool IsEmpty() const { return m_bands.empty(); }
    const_iterator begin() const { return m_bands.begin(); }
    const_iterator end() const { return m_bands.end(); }

private:
    std::list<MeterThreshold> m_bands;
};
