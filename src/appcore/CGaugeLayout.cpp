#include "appcore/CGaugeLayout.h"

#include "platform/CTextFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kSweep = CGaugeLayout::kEndAngle - CGaugeLayout::kStartAngle;

} // namespace

void CGaugeLayout::Recalc(int width, int height) {
    m_width = std::max(width, kMinSize);
    m_height = std::max(height, kMinSize);
    const auto w = static_cast<float>(m_width);
    const auto h = static_cast<float>(m_height);
    m_scale = std::min(w, h) / 200.0f;
    if (m_scale == 0.0f)
        m_scale = 1.0f;
    const float s = m_scale;

    m_dial = {0.0f, 0.0f, w - 2.0f, h - 2.0f};
    if (h < w)
        m_dial.width = h;
    if (h > w)
        m_dial.height = w;
    m_dial.width = std::max(m_dial.width, 10.0f);
    m_dial.height = std::max(m_dial.height, 10.0f);

    m_centre = {m_dial.x + m_dial.width / 2.0f, m_dial.y + m_dial.height / 2.0f};
    m_hub = {m_centre.x - 20.0f * s, m_centre.y - 20.0f * s, 40.0f * s, 40.0f * s};
    m_glass = {m_dial.x + 20.0f * s, m_dial.y + 10.0f * s, m_dial.width - 40.0f * s, m_centre.y + 30.0f * s};
}

uint32_t CGaugeLayout::ShadeColor(uint32_t argb, int percent) {
    if (percent == 100)
        return argb;
    const long factor = std::max(percent, 0);
    const auto shade = [factor](uint32_t channel) {
        return static_cast<uint32_t>(std::clamp(static_cast<long>(channel) * factor / 100, 0L, 255L));
    };
    const uint32_t red = shade((argb >> 16) & 0xFF);
    const uint32_t green = shade((argb >> 8) & 0xFF);
    const uint32_t blue = shade(argb & 0xFF);
    return (argb & 0xFF000000) | (red << 16) | (green << 8) | blue;
}

GaugePoint CGaugeLayout::PointAt(const GaugePoint& centre, float radius, float degrees) {
    const float radians = degrees * kPi / 180.0f;
    return {centre.x + radius * std::cos(radians), centre.y + radius * std::sin(radians)};
}

float CGaugeLayout::ValueAngle(double value, double minimum, double maximum) {
    if (!(maximum != minimum))
        return kStartAngle;
    const double fraction = ((value - minimum) * 100.0 / (maximum - minimum)) / 100.0;
    return static_cast<float>(kStartAngle + kSweep * fraction);
}

bool CGaugeLayout::BandArc(double low, double high, double minimum, double maximum, GaugeArc& arc) {
    const auto lowest = static_cast<float>(minimum);
    const auto highest = static_cast<float>(maximum);
    if (!(highest != lowest))
        return false;
    const float perUnit = kSweep / (highest - lowest);
    const double fromStart = low - lowest;
    arc.start = static_cast<float>(kStartAngle + fromStart * perUnit);
    arc.sweep = static_cast<float>(((high - lowest) - fromStart) * perUnit);
    return true;
}

float CGaugeLayout::TickStep(int majorCount, int minorCount) {
    const int steps = (majorCount - 1) * (minorCount + 1);
    return steps > 0 ? kSweep / static_cast<float>(steps) : kSweep;
}

std::vector<std::string> CGaugeLayout::MajorLabels(double minimum, double maximum, int majorCount) {
    std::vector<std::string> labels;
    if (majorCount <= 0)
        return labels;
    const double range = maximum - minimum;
    const bool whole = range > 2.0 * majorCount;
    const double step = majorCount > 1 ? range / (majorCount - 1) : 0.0;
    for (int i = 0; i < majorCount; ++i) {
        const auto value = static_cast<float>(minimum + i * step);
        if (whole) {
            labels.push_back(CTextFormat::Printf("%d", static_cast<int>(std::lround(value))));
            continue;
        }
        std::string text = CTextFormat::Printf("%.1f", static_cast<double>(value));
        // A rounding residue just below zero must not read "-0.0".
        if (text == "-0.0")
            text.erase(0, 1);
        labels.push_back(text);
    }
    return labels;
}
