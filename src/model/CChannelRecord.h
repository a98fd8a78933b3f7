#pragma once

#include <memory>
#include <optional>
#include <span>

// One recorded series with its running statistics. The buffer is allocated once so that
// appending never allocates.
class CChannelRecord {
public:
    static constexpr int kCapacity = 100000;

    explicit CChannelRecord(bool powerInDbm);

    // False (nothing stored) when the series is full; the value is still the current one.
    bool Add(float value);
    void Reset();
    // The next value becomes reference, minimum and maximum again; the series stays.
    void RestartReference();

    std::span<const float> Series() const;
    int Count() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    float Last() const;
    // The latest reading, or none before the first one, after a reset and after ForgetCurrent().
    std::optional<float> Current() const { return m_current; }
    // The reading shown so far is no longer live (the sensor went away).
    void ForgetCurrent() { m_current.reset(); }
    // False until a value follows a reset or a restart of the reference.
    bool HasExtremes() const { return !m_firstValue; }
    float Reference() const { return m_reference; }
    float Minimum() const { return m_minimum; }
    float Maximum() const { return m_maximum; }
    // Powers average in linear scale; NaN when the series is empty.
    float Average() const;

    // The average of a series as Average() takes it; values without a reading (NaN) are left out.
    static float AverageOf(std::span<const float> values, bool powerInDbm);

private:
    std::unique_ptr<float[]> m_values;
    bool m_powerInDbm;
    int m_count = 0;
    float m_reference = 0.0f;
    float m_minimum = 0.0f;
    float m_maximum = 0.0f;
    bool m_firstValue = true;
    std::optional<float> m_current;
};
