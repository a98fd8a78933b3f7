#include "history/CGraphScale.h"

#include <algorithm>
#include <cmath>
#include <utility>

CGraphScale::CGraphScale() = default;

void CGraphScale::SetFontMetrics(int characterWidth, int lineHeight) {
    m_characterWidth = std::max(characterWidth, 1);
    m_lineHeight = std::max(lineHeight, 1);
}

void CGraphScale::Resize(int left, int top, int width, int height) {
    m_left = std::max(left, 0);
    m_top = std::max(top, 0);
    if (width > 0)
        m_width = std::max(width, MinimumWidth());
    if (height > 0)
        m_height = std::max(height, MinimumHeight());
}

// Compact: the value labels and a plot as wide again; the title, axis and end-label bands and a
// plot five lines high.
int CGraphScale::MinimumWidth() const {
    return m_compact ? std::min(kMinWidth, 36 * m_characterWidth) : kMinWidth;
}

int CGraphScale::MinimumHeight() const {
    return m_compact ? std::min(kMinHeight, 12 * m_lineHeight) : kMinHeight;
}

bool CGraphScale::OrderRange(float a, float b, float& low, float& high) {
    if (a > b)
        std::swap(a, b);
    if (a == b)
        b = a + 0.1f;
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(b - a) || !(b > a))
        return false;
    low = a;
    high = b;
    return true;
}

void CGraphScale::SetXRange(float a, float b) {
    OrderRange(a, b, m_xMinimum, m_xMaximum);
}

void CGraphScale::SetYRange(float a, float b) {
    OrderRange(a, b, m_yMinimum, m_yMaximum);
}

double CGraphScale::XScale() const {
    if (!m_scaling)
        return 1.0;
    return (m_width - 19.0 * m_characterWidth) / (static_cast<double>(m_xMaximum) - m_xMinimum);
}

double CGraphScale::YScale() const {
    if (!m_scaling)
        return 1.0;
    return (m_height - 7.0 * m_lineHeight) / (static_cast<double>(m_yMaximum) - m_yMinimum);
}

float CGraphScale::ClampY(float y) const {
    if (std::isnan(y))
        return m_yMinimum;
    return std::clamp(y, m_yMinimum, m_yMaximum);
}

int CGraphScale::PixelX(float x) const {
    return static_cast<int>(PlotLeft() + (static_cast<double>(x) - m_xMinimum) * XScale());
}

double CGraphScale::XAt(int pixel) const {
    return m_xMinimum + (pixel - PlotLeft()) / XScale();
}

int CGraphScale::PixelY(float y) const {
    return static_cast<int>(PlotBottom() - (static_cast<double>(y) - m_yMinimum) * YScale());
}

std::optional<int> CGraphScale::MapX(float x) const {
    if (!InXRange(x))
        return std::nullopt;
    return PixelX(x);
}

std::optional<int> CGraphScale::MapY(float y) const {
    if (!InYRange(y))
        return std::nullopt;
    return PixelY(y);
}

float CGraphScale::YLabelValue(int index) const {
    if (index <= 0)
        return m_yMaximum;
    if (index >= kGridDivisions)
        return m_yMinimum;
    return m_yMaximum - static_cast<float>(index) * std::fabs(m_yMaximum - m_yMinimum) / kGridDivisions;
}
