#pragma once

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "sim/CVirtualSensor.h"

// How one reply goes out: in pieces with a gap between them, possibly followed by
// dropping the link. No pieces means no reply.
struct ReplyPlan {
    std::vector<std::vector<uint8_t>> pieces;
    std::chrono::milliseconds gap{0};
    bool dropLinkAfter = false;
};

// Applies the switched-on fault to the replies.
class CReplyShaper {
public:
    explicit CReplyShaper(uint32_t seed);

    // Restarts the fault's count of replies.
    void SetFault(FaultSetting fault);
    ReplyPlan Shape(std::vector<uint8_t> reply);

private:
    int ArgumentOr(int fallback) const;
    ReplyPlan Countdown(std::vector<uint8_t> reply, bool dropLink);
    std::vector<uint8_t> Garbage(size_t count);
    static ReplyPlan Whole(std::vector<uint8_t> reply);
    static ReplyPlan Split(std::vector<uint8_t> reply, int gapMs);

    FaultSetting m_fault;
    int m_repliesLeft = 0;
    int m_unharmedLeft = 0;
    std::mt19937 m_random;
};
