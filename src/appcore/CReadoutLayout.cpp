#include "appcore/CReadoutLayout.h"

#include "model/HistoryChannel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kGrey = 0xC0C0C0;
constexpr uint32_t kLightGrey = 0xDCDCDC;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kAlarmRed = 0xFF0000;

struct TemplateItem {
    bool visible;
    int x;
    int y;
    int font;
    uint32_t rgb;
};

struct LayoutTemplate {
    int baseWidth;
    int baseHeight;
    std::array<TemplateItem, kReadoutItemCount> items;
};

constexpr TemplateItem Shown(int x, int y, int font, uint32_t rgb = kGrey) {
    return {true, x, y, font, rgb};
}

constexpr TemplateItem Hidden() {
    return {false, 0, 0, 0, kGrey};
}

constexpr LayoutTemplate kMainTemplate{
    476,
    326,
    {Shown(26, 30, 14), Shown(248, 30, 10), Shown(26, 58, 14), Shown(248, 50, 10), Shown(248, 70, 10),
     Shown(26, 190, 16, kLightGrey), Shown(210, 190, 18, kGreen), Shown(26, 278, 14), Shown(26, 252, 14),
     Shown(210, 132, 36, kGreen), Shown(210, 190, 18, kGreen), Shown(26, 132, 30, kWhite),
     Shown(248, 278, 14), Shown(248, 252, 14), Shown(26, 90, 10), Shown(26, 110, 10), Shown(248, 90, 10)}};

constexpr LayoutTemplate kSmallTemplate{190,
                                        322,
                                        {Hidden(), Hidden(), Hidden(), Hidden(), Hidden(), Hidden(), Hidden(),
                                         Shown(20, 256, 14), Shown(20, 230, 14), Shown(20, 130, 24),
                                         Shown(20, 172, 14), Shown(20, 38, 26, kWhite), Hidden(), Hidden(),
                                         Shown(20, 85, 10), Shown(20, 105, 10), Hidden()}};

constexpr LayoutTemplate FullScreenTemplate(bool pulseLines) {
    return {322,
            704,
            {Shown(30, 26, 20), Shown(30, 120, 16), Shown(30, 60, 20), Shown(30, 150, 16), Shown(30, 180, 16),
             pulseLines ? Hidden() : Shown(30, 370, 20), Shown(30, 516, 20, kGreen), Shown(30, 618, 16),
             Shown(30, 584, 16), Shown(30, 440, 46, kGreen), Shown(30, 516, 20, kGreen),
             Shown(30, 260, 46, kWhite), Shown(168, 618, 16), Shown(168, 584, 16),
             pulseLines ? Shown(30, 370, 20) : Hidden(), pulseLines ? Shown(30, 404, 20) : Hidden(),
             Shown(30, 210, 16)}};
}

constexpr LayoutTemplate kFullScreenTemplate = FullScreenTemplate(false);
constexpr LayoutTemplate kFullScreenPulseTemplate = FullScreenTemplate(true);

const LayoutTemplate& TemplateOf(int style) {
    switch (style) {
    case StyleSmall:
        return kSmallTemplate;
    case StyleFullScreen:
        return kFullScreenTemplate;
    case StyleFullScreenPulse:
        return kFullScreenPulseTemplate;
    default:
        return kMainTemplate;
    }
}

int Scaled(int value, int size, int base) {
    return static_cast<int>(std::lround(static_cast<double>(value) * size / base));
}

} // namespace

int CReadoutLayout::TextAreaWidth(int style, int width) {
    if (style == StyleMain)
        return width;
    return static_cast<int>(std::lround(width * 4.0 / 10.0));
}

uint32_t CReadoutLayout::ValueColour(int style, bool alarm) {
    return alarm ? kAlarmRed : TemplateOf(style).items[ItemValue].rgb;
}

bool CReadoutLayout::HiddenByState(const ReadoutState& state, int item) {
    if (state.style == StyleSmall)
        return false;
    if ((item == ItemLowLimit || item == ItemHighLimit) && !state.limitEnabled)
        return true;
    const bool ratio = state.quantity == ChannelVswr;
    if (ratio && (state.style == StyleMain || state.style == StyleFullScreen))
        return item == ItemMode || item == ItemReference;
    return item == (state.relativeMode ? ItemWatts : ItemReference);
}

CReadoutLayout::Placements CReadoutLayout::Items(const ReadoutState& state, int width, int height) {
    // Within the window as it is: a layout larger than the window would put lines past its edges.
    const int w = std::max(width, 1);
    const int h = std::max(height, 1);
    const int textWidth = TextAreaWidth(state.style, w);
    const LayoutTemplate& layout = TemplateOf(state.style);
    const double fontScale = std::min(static_cast<double>(textWidth) / layout.baseWidth,
                                      static_cast<double>(h) / layout.baseHeight);
    Placements placements{};
    for (int item = 0; item < kReadoutItemCount; ++item) {
        const TemplateItem& source = layout.items[static_cast<std::size_t>(item)];
        ReadoutItemPlacement& placement = placements[static_cast<std::size_t>(item)];
        placement.fontPoints = std::max(kMinFontPoints, static_cast<int>(source.font * fontScale));
        placement.rgb = item == ItemValue ? ValueColour(state.style, state.alarm) : source.rgb;
        if (!source.visible || HiddenByState(state, item))
            continue;
        placement.left = Scaled(source.x, textWidth, layout.baseWidth);
        placement.top = Scaled(source.y, h, layout.baseHeight);
        placement.right = textWidth;
        placement.bottom = h;
    }
    return placements;
}

// Placed within the control as it is: a gauge with no room beside the texts is left out rather
// than cut off at the edge.
GaugePlacement CReadoutLayout::Gauge(int style, int width, int height, int textRight) {
    const int textWidth = std::max(TextAreaWidth(style, width), textRight + kGaugeGap);
    GaugePlacement gauge;
    gauge.side = std::max(0, std::min(width - textWidth - 20, height - 20));
    gauge.x = textWidth + (width - textWidth - gauge.side) / 2;
    gauge.y = (height - gauge.side) / 2;
    gauge.visible = style != StyleMain && gauge.side >= kMinGaugeSide;
    return gauge;
}
