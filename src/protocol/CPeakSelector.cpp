#include "protocol/CPeakSelector.h"

#include <algorithm>
#include <functional>

int32_t CPeakSelector::Select(const std::array<int32_t, kReplyValues>& values) {
    std::array<int32_t, kReplyValues + 2> list{};
    list[0] = values[0];
    list[1] = m_heldFirst;
    list[2] = m_heldSecond;
    std::copy(values.begin() + 1, values.end(), list.begin() + 3);
    std::sort(list.begin(), list.end(), std::greater<>());
    m_heldFirst = list[1];
    m_heldSecond = list[2];
    return list[1];
}
