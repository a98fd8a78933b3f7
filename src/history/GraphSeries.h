#pragma once

#include <string>

struct GraphPoint {
    float x = 0.0f;
    float y = 0.0f;
};

constexpr int kSeriesKindSampled = 6;
constexpr int kSeriesStyleLine = 1;

// What a graph shows: the series with its ranges and texts. The points are not owned.
struct GraphSeries {
    int kind = kSeriesKindSampled;
    int style = kSeriesStyleLine;
    float xMinimum = 0.0f;
    float xMaximum = 100.0f;
    float yFirst = -40.0f; // the two ends of the value axis, in either order
    float ySecond = 50.0f;
    std::string title;
    std::string subtitle;
    std::string yAxisLabel;
    std::string xAxisLabel;
    const GraphPoint* points = nullptr;
    int pointCount = 0;
};
