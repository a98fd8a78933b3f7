#pragma once

#include <optional>

// Layout of a graph in device pixels and the mapping of values onto its plot area.
class CGraphScale {
public:
    static constexpr int kMinWidth = 350;
    static constexpr int kMinHeight = 300;
    static constexpr int kGridDivisions = 10;

    CGraphScale();

    // Character width and line height of the graph's font on the target device.
    void SetFontMetrics(int characterWidth, int lineHeight);
    // Sizes below the minimum are raised to it; a non-positive size keeps the previous one.
    void Resize(int left, int top, int width, int height);
    // A compact graph (the live screens' bottom row) goes down to what its labels and a readable
    // plot need instead of 350 x 300, so that a small window does not cut off its lower scale.
    void SetCompact(bool compact) { m_compact = compact; }
    int MinimumWidth() const;
    int MinimumHeight() const;
    // Ends in either order; equal ends become (a, a + 0.1). Non-finite ranges are refused.
    void SetXRange(float a, float b);
    void SetYRange(float a, float b);
    void SetScaling(bool on) { m_scaling = on; }

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int CharacterWidth() const { return m_characterWidth; }
    int LineHeight() const { return m_lineHeight; }
    int PlotLeft() const { return m_left + 18 * m_characterWidth; }
    int PlotTop() const { return m_top + 4 * m_lineHeight; }
    int PlotRight() const { return m_left + m_width - m_characterWidth; }
    int PlotBottom() const { return m_top + m_height - 3 * m_lineHeight; }
    int PlotWidth() const { return PlotRight() - PlotLeft(); }
    int PlotHeight() const { return PlotBottom() - PlotTop(); }

    float XMinimum() const { return m_xMinimum; }
    float XMaximum() const { return m_xMaximum; }
    float YMinimum() const { return m_yMinimum; }
    float YMaximum() const { return m_yMaximum; }
    double XScale() const;
    double YScale() const;

    bool InXRange(float x) const { return x >= m_xMinimum && x <= m_xMaximum; }
    bool InYRange(float y) const { return y >= m_yMinimum && y <= m_yMaximum; }
    float ClampY(float y) const;
    // Pixel of an index or value; nothing when it lies outside its range.
    std::optional<int> MapX(float x) const;
    std::optional<int> MapY(float y) const;
    // Pixel of a value known to be in range (no check).
    int PixelX(float x) const;
    int PixelY(float y) const;
    // Index under a pixel column, the inverse of PixelX (not limited to the range).
    double XAt(int pixel) const;
    // Value of the i-th of the 11 value-axis labels, from the top (0) to the bottom (10).
    float YLabelValue(int index) const;

private:
    static bool OrderRange(float a, float b, float& low, float& high);

    int m_left = 0;
    int m_top = 0;
    int m_width = kMinWidth;
    int m_height = kMinHeight;
    int m_characterWidth = 1;
    int m_lineHeight = 1;
    float m_xMinimum = -100.0f;
    float m_xMaximum = 100.0f;
    float m_yMinimum = -100.0f;
    float m_yMaximum = 100.0f;
    bool m_scaling = true;
    bool m_compact = false;
};
