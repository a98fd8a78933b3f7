#pragma once

#include <array>
#include <cstdint>

// Chooses the PEAK reading from a 59-byte reply: the second largest of the reply's eleven
// values and the two values held from earlier exchanges, so one spike is always dropped.
class CPeakSelector {
public:
    static constexpr int kReplyValues = 11;

    // values: value 0 then values 1..10 of the reply. Returns the selected reading and keeps
    // the second and third largest as the new held values.
    int32_t Select(const std::array<int32_t, kReplyValues>& values);

    int32_t HeldFirst() const { return m_heldFirst; }
    int32_t HeldSecond() const { return m_heldSecond; }

private:
    int32_t m_heldFirst = -1;
    int32_t m_heldSecond = -1;
};
