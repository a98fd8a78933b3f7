#include "ccdf/CCcdfWindow.h"

#include <iterator>

uint32_t CCcdfWindow::LengthForRate(int rateChoice) {
    switch (rateChoice) {
    case 1:
        return 20;
    case 2:
        return 50;
    case 3:
        return 100;
    default:
        return 10;
    }
}

void CCcdfWindow::Add(const Histogram& histogram, uint32_t length) {
    if (m_histograms.size() > length)
        Clear();
    else if (m_histograms.size() == length && !m_histograms.empty()) {
        SubtractFromMerged(m_histograms.front());
        m_histograms.pop_front();
    }
    Histogram& added = m_histograms.emplace_back();
    for (const auto& [key, count] : histogram) {
        if (count > 0)
            added.emplace_hint(added.end(), key, count);
    }
    AddToMerged(added);
}

void CCcdfWindow::Clear() {
    m_histograms.clear();
    m_merged.clear();
    m_total = 0;
}

void CCcdfWindow::AddToMerged(const Histogram& histogram) {
    // Both maps are ordered, so each key goes right before the hint: constant time per bin.
    auto hint = m_merged.begin();
    for (const auto& [key, count] : histogram) {
        const auto bin = m_merged.try_emplace(hint, key, 0);
        bin->second += count;
        m_total += static_cast<uint64_t>(count);
        hint = std::next(bin);
    }
}

void CCcdfWindow::SubtractFromMerged(const Histogram& histogram) {
    // Every bin of a histogram in the window is in the sum, and both walk the keys upward.
    auto bin = m_merged.begin();
    for (const auto& [key, count] : histogram) {
        while (bin->first < key)
            ++bin;
        bin->second -= count;
        m_total -= static_cast<uint64_t>(count);
        bin = bin->second == 0 ? m_merged.erase(bin) : std::next(bin);
    }
}
