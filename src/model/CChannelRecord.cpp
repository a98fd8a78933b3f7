#include "model/CChannelRecord.h"

#include "model/CPowerMath.h"

#include <cmath>

CChannelRecord::CChannelRecord(bool powerInDbm)
    : m_values(std::make_unique_for_overwrite<float[]>(kCapacity)), m_powerInDbm(powerInDbm) {}

bool CChannelRecord::Add(float value) {
    if (std::isnan(value)) // a row without a reading: nothing is current
        m_current.reset();
    else
        m_current = value;
    if (m_count >= kCapacity)
        return false;
    m_values[static_cast<std::size_t>(m_count)] = value;
    if (std::isnan(value)) { // a row without a reading leaves the statistics alone
        ++m_count;
        return true;
    }
    if (m_firstValue) {
        m_reference = m_minimum = m_maximum = value;
        m_firstValue = false;
    } else {
        if (value < m_minimum)
            m_minimum = value;
        if (value > m_maximum)
            m_maximum = value;
    }
    ++m_count;
    return true;
}

void CChannelRecord::Reset() {
    m_count = 0;
    m_current.reset();
    RestartReference();
}

void CChannelRecord::RestartReference() {
    m_reference = m_minimum = m_maximum = 0.0f;
    m_firstValue = true;
}

std::span<const float> CChannelRecord::Series() const {
    return {m_values.get(), static_cast<std::size_t>(m_count)};
}

float CChannelRecord::Last() const {
    return m_count > 0 ? m_values[static_cast<std::size_t>(m_count - 1)] : 0.0f;
}

float CChannelRecord::Average() const {
    return AverageOf(Series(), m_powerInDbm);
}

float CChannelRecord::AverageOf(std::span<const float> values, bool powerInDbm) {
    double sum = 0.0;
    int readings = 0;
    for (const float value : values) {
        if (std::isnan(value))
            continue;
        sum += powerInDbm ? CPowerMath::DbmToMilliwatts(value) : value;
        ++readings;
    }
    const double mean = sum / readings; // NaN without readings, shown as not available
    return static_cast<float>(powerInDbm ? CPowerMath::MilliwattsToDbm(mean) : mean);
}
