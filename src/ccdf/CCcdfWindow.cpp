#include "ccdf/CCcdfWindow.h"

#include <algorithm>
#include <iterator>

namespace {

// The sum's walks need ascending keys, each once; the decoder's histograms have them already.
void PutInKeyOrder(CCcdfWindow::Histogram& histogram) {
    const auto notAscending = [](const auto& a, const auto& b) { return a.first >= b.first; };
    if (std::adjacent_find(histogram.begin(), histogram.end(), notAscending) == histogram.end())
        return;
    std::stable_sort(histogram.begin(), histogram.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const auto sameKey = [](const auto& a, const auto& b) { return a.first == b.first; };
    histogram.erase(std::unique(histogram.begin(), histogram.end(), sameKey), histogram.end());
}

} // namespace

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
    // The histogram that leaves lends its storage to the one that arrives.
    Histogram added;
    if (m_histograms.size() > length)
        Clear();
    else if (m_histograms.size() == length && !m_histograms.empty()) {
        SubtractFromMerged(m_histograms.front());
        added = std::move(m_histograms.front());
        added.clear();
        m_histograms.pop_front();
    }
    added.reserve(histogram.size());
    std::copy_if(histogram.begin(), histogram.end(), std::back_inserter(added),
                 [](const auto& bin) { return bin.second > 0; });
    PutInKeyOrder(added);
    AddToMerged(added);
    m_histograms.push_back(std::move(added));
}

void CCcdfWindow::Clear() {
    m_histograms.clear();
    m_merged.clear();
    m_total = 0;
}

void CCcdfWindow::AddToMerged(const Histogram& histogram) {
    // Both are in key order, so one walk through each merges them.
    m_spare.clear();
    m_spare.reserve(m_merged.size() + histogram.size());
    auto bin = m_merged.begin();
    for (const auto& [key, count] : histogram) {
        for (; bin != m_merged.end() && bin->first < key; ++bin)
            m_spare.push_back(*bin);
        int64_t sum = count;
        if (bin != m_merged.end() && bin->first == key)
            sum += (bin++)->second;
        m_spare.emplace_back(key, sum);
        m_total += static_cast<uint64_t>(count);
    }
    m_spare.insert(m_spare.end(), bin, m_merged.end());
    m_merged.swap(m_spare);
}

void CCcdfWindow::SubtractFromMerged(const Histogram& histogram) {
    // Every bin of a histogram in the window is in the sum, and both walk the keys upward.
    auto bin = m_merged.begin();
    for (const auto& [key, count] : histogram) {
        while (bin->first < key)
            ++bin;
        bin->second -= count;
        m_total -= static_cast<uint64_t>(count);
    }
    std::erase_if(m_merged, [](const auto& merged) { return merged.second == 0; });
}
