#include "appcore/CRelativePairing.h"

void CRelativePairing::Note(Side side, std::optional<float> dbm, Clock::time_point at) {
    m_latest[side] = {dbm, at};
}

void CRelativePairing::Clear() {
    m_latest = {};
}

std::optional<float> CRelativePairing::Fresh(Side side, Clock::time_point now) const {
    const SLatest& latest = m_latest[side];
    if (!latest.dbm || now - latest.at > m_maxAge)
        return std::nullopt;
    return latest.dbm;
}

std::optional<CRelativePairing::SPair> CRelativePairing::Pair(Clock::time_point now) const {
    const std::optional<float> a = Fresh(SideA, now);
    const std::optional<float> b = Fresh(SideB, now);
    if (!a || !b)
        return std::nullopt;
    return SPair{*a, *b};
}
