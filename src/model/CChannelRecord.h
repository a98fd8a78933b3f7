#pragma once

#include <memory>
#include <span>

// One recorded series with its running statistics. The buffer is allocated once so that
// appending never allocates.
class CChannelRecord {
public:
    static constexpr int kCapacity = 100000;

    explicit CChannelRecord(bool powerInDbm);

    // False (nothing stored) when the series is full.
    bool Add(float value);
    void Reset();
    // The next value becomes reference, minimum and maximum again; the series stays.
    void RestartReference();

    std::span<const float> Series() const;
    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    float Last() const;
    float Reference() const { return m_reference; }
    float Minimum() const { return m_minimum; }
    float Maximum() const { return m_maximum; }
    // Powers average in linear scale; NaN when the series is empty.
    float Average() const;

private:
    std::unique_ptr<float[]> m_values;
    bool m_powerInDbm;
    int m_count = 0;
    float m_reference = 0.0f;
    float m_minimum = 0.0f;
    float m_maximum = 0.0f;
    bool m_firstValue = true;
};
