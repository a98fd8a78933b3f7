#include "sim/CReplyShaper.h"

#include <algorithm>

namespace {
constexpr int kDefaultGarbageBytes = 3;
constexpr int kDefaultSplitGapMs = 5;
constexpr size_t kSplitPieces = 3;
// Keeps a corrupted-reply run affordable and bounded.
constexpr int kMaxGarbageBytes = 4096;
} // namespace

CReplyShaper::CReplyShaper(uint32_t seed) : m_random(seed) {}

void CReplyShaper::SetFault(FaultSetting fault) {
    m_fault = fault;
    m_repliesLeft = ArgumentOr(0);
    m_unharmedLeft = fault.after;
}

int CReplyShaper::ArgumentOr(int fallback) const {
    return m_fault.argument < 0 ? fallback : m_fault.argument;
}

ReplyPlan CReplyShaper::Shape(std::vector<uint8_t> reply) {
    if (reply.empty())
        return {};
    if (m_unharmedLeft > 0) {
        --m_unharmedLeft;
        return Whole(std::move(reply));
    }
    switch (m_fault.kind) {
    case SensorFault::Silence:
        return Countdown(std::move(reply), false);
    case SensorFault::Disconnect:
        return Countdown(std::move(reply), true);
    case SensorFault::Garbage: {
        auto bytes =
            Garbage(static_cast<size_t>(std::min(ArgumentOr(kDefaultGarbageBytes), kMaxGarbageBytes)));
        bytes.insert(bytes.end(), reply.begin(), reply.end());
        return Whole(std::move(bytes));
    }
    case SensorFault::Split:
        return Split(std::move(reply), ArgumentOr(kDefaultSplitGapMs));
    case SensorFault::CorruptByte: {
        const auto index =
            std::min(static_cast<size_t>(ArgumentOr(static_cast<int>(reply.size()) - 2)), reply.size() - 1);
        reply[index] = static_cast<uint8_t>(~reply[index]);
        return Whole(std::move(reply));
    }
    case SensorFault::WrongHead:
        if (reply.size() > 1)
            reply[1] = 'X';
        return Whole(std::move(reply));
    case SensorFault::None:
        break;
    }
    return Whole(std::move(reply));
}

// Answers while replies are left; then silence, or one last silence that drops the link.
ReplyPlan CReplyShaper::Countdown(std::vector<uint8_t> reply, bool dropLink) {
    if (m_repliesLeft <= 0) {
        ReplyPlan none;
        none.dropLinkAfter = dropLink;
        return none;
    }
    --m_repliesLeft;
    ReplyPlan plan = Whole(std::move(reply));
    plan.dropLinkAfter = dropLink && m_repliesLeft == 0;
    return plan;
}

// Line noise never contains the frame opener, so the real frame stays findable.
std::vector<uint8_t> CReplyShaper::Garbage(size_t count) {
    std::uniform_int_distribution<int> byte(1, 255);
    std::vector<uint8_t> bytes;
    while (bytes.size() < count) {
        const auto value = static_cast<uint8_t>(byte(m_random));
        if (value != '[')
            bytes.push_back(value);
    }
    return bytes;
}

ReplyPlan CReplyShaper::Whole(std::vector<uint8_t> reply) {
    ReplyPlan plan;
    plan.pieces.push_back(std::move(reply));
    return plan;
}

ReplyPlan CReplyShaper::Split(std::vector<uint8_t> reply, int gapMs) {
    ReplyPlan plan;
    plan.gap = std::chrono::milliseconds(gapMs);
    const size_t pieces = std::min(kSplitPieces, reply.size());
    size_t start = 0;
    for (size_t i = 1; i <= pieces; ++i) {
        const size_t end = reply.size() * i / pieces;
        plan.pieces.emplace_back(reply.begin() + static_cast<std::ptrdiff_t>(start),
                                 reply.begin() + static_cast<std::ptrdiff_t>(end));
        start = end;
    }
    return plan;
}
