#include "model/CChannelRecord.h"

#include "model/CPowerMath.h"

CChannelRecord::CChannelRecord(bool powerInDbm)
    : m_values(std::make_unique<float[]>(kCapacity)), m_powerInDbm(powerInDbm) {}

bool CChannelRecord::Add(float value) {
    m_current = value;
    if (m_count >= kCapacity)
        return false;
    m_values[m_count] = value;
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
    return m_count > 0 ? m_values[m_count - 1] : 0.0f;
}

float CChannelRecord::Average() const {
    double sum = 0.0;
    for (const float value : Series())
        sum += m_powerInDbm ? CPowerMath::DbmToMilliwatts(value) : value;
    const double mean = sum / m_count; // NaN for an empty series, shown as not available
    return static_cast<float>(m_powerInDbm ? CPowerMath::MilliwattsToDbm(mean) : mean);
}
