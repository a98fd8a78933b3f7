#include "history/CMinMaxPyramid.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kFanOut = 16;
constexpr CMinMaxPyramid::Span kEmpty{std::numeric_limits<float>::infinity(),
                                      -std::numeric_limits<float>::infinity()};

CMinMaxPyramid::Span Merge(CMinMaxPyramid::Span a, CMinMaxPyramid::Span b) {
    return {std::min(a.low, b.low), std::max(a.high, b.high)};
}

} // namespace

bool CMinMaxPyramid::Build(const GraphPoint* points, int count) {
    Clear();
    if (points == nullptr || count <= 0)
        return false;
    std::vector<Span> base(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float y = points[i].y;
        if (i > 0 && !(points[i].x > points[i - 1].x))
            return false;
        if (std::isnan(y))
            m_gaps.push_back(i);
        base[static_cast<std::size_t>(i)] = std::isnan(y) ? kEmpty : Span{y, y};
    }
    m_levels.push_back(std::move(base));
    while (m_levels.back().size() > static_cast<std::size_t>(kFanOut)) {
        const std::vector<Span>& below = m_levels.back();
        std::vector<Span> level((below.size() + kFanOut - 1) / kFanOut);
        for (std::size_t i = 0; i < below.size(); ++i)
            level[i / kFanOut] = i % kFanOut == 0 ? below[i] : Merge(level[i / kFanOut], below[i]);
        m_levels.push_back(std::move(level));
    }
    return true;
}

void CMinMaxPyramid::Clear() {
    m_levels.clear();
    m_gaps.clear();
}

bool CMinMaxPyramid::HasGap(int first, int last) const {
    const auto gap = std::lower_bound(m_gaps.begin(), m_gaps.end(), first);
    return gap != m_gaps.end() && *gap < last;
}

CMinMaxPyramid::Span CMinMaxPyramid::Range(int first, int last) const {
    Span span = kEmpty;
    auto from = static_cast<std::size_t>(first);
    auto to = static_cast<std::size_t>(last);
    for (const std::vector<Span>& level : m_levels) {
        // The ragged ends at this level; the whole blocks between them go one level up.
        while (from < to && from % kFanOut != 0)
            span = Merge(span, level[from++]);
        while (from < to && to % kFanOut != 0)
            span = Merge(span, level[--to]);
        if (from >= to)
            return span;
        if (&level == &m_levels.back()) {
            while (from < to)
                span = Merge(span, level[from++]);
            return span;
        }
        from /= kFanOut;
        to /= kFanOut;
    }
    return span;
}
