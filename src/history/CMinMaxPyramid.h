#pragma once

#include "history/GraphSeries.h"

#include <vector>

// The smallest and largest value of any run of a long series in a few steps: blocks of 16,
// 256, ... points keep their extremes, so a run is covered by at most 30 entries per level.
// A NaN value counts as the lowest, as the graph draws it at the bottom.
class CMinMaxPyramid {
public:
    struct Span {
        float low;
        float high;
    };

    // Takes the y values of the points; false (and nothing kept) unless x strictly increases.
    bool Build(const GraphPoint* points, int count);
    void Clear();
    bool IsBuilt() const { return !m_levels.empty(); }
    // Extremes of the points first..last-1 of the built series that have a reading; first < last.
    // low > high when none has.
    Span Range(int first, int last) const;
    // Whether a point without a reading lies in first..last-1.
    bool HasGap(int first, int last) const;

private:
    std::vector<std::vector<Span>> m_levels; // level 0: one entry per point
    std::vector<int> m_gaps;                 // indices of the points without a reading, ascending
};
