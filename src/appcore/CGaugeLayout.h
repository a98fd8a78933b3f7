#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GaugeRect {
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

struct GaugePoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Start angle and sweep of a band's arc, in degrees clockwise from the right.
struct GaugeArc {
    float start = 0.0f;
    float sweep = 0.0f;
};

// Geometry of the 270-degree dial, proportional to the window: everything the gauge draws
// is placed from here.
class CGaugeLayout {
public:
    static constexpr int kMinSize = 100;
    static constexpr float kStartAngle = 135.0f;
    static constexpr float kEndAngle = 405.0f;

    // Client size, raised to at least 100 x 100.
    void Recalc(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    float Scale() const { return m_scale; }
    const GaugeRect& Dial() const { return m_dial; }
    const GaugePoint& Centre() const { return m_centre; }
    const GaugeRect& Hub() const { return m_hub; }
    const GaugeRect& Glass() const { return m_glass; }

    // Darker (or, above 100, lighter) shade of an ARGB colour; alpha is kept.
    static uint32_t ShadeColor(uint32_t argb, int percent);
    static GaugePoint PointAt(const GaugePoint& centre, float radius, float degrees);

    // Needle angle of a value; the start angle when the range is empty.
    static float ValueAngle(double value, double minimum, double maximum);
    // Arc of a band; false when the range is empty (no band can be placed).
    static bool BandArc(double low, double high, double minimum, double maximum, GaugeArc& arc);
    // Degrees between two minor ticks.
    static float TickStep(int majorCount, int minorCount);
    // Texts of the major ticks, first at the minimum, last at the maximum.
    static std::vector<std::string> MajorLabels(double minimum, double maximum, int majorCount);

private:
    int m_width = kMinSize;
    int m_height = kMinSize;
    float m_scale = 0.5f;
    GaugeRect m_dial;
    GaugePoint m_centre;
    GaugeRect m_hub;
    GaugeRect m_glass;
};
