#pragma once

#include <array>
#include <cstdint>

#include "appcore/CGaugeLayout.h"
#include "appcore/ReadoutItem.h"

// Where and how one text item of a readout is drawn; an empty rectangle hides it.
struct ReadoutItemPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int fontPoints = 0;
    uint32_t rgb = 0; // 0xRRGGBB

    bool IsVisible() const { return right > left && bottom > top; }
};

// The square of the embedded gauge.
struct GaugePlacement {
    bool visible = false;
    int x = 0;
    int y = 0;
    int side = 0;
};

// What the layout of a readout depends on besides its size.
struct ReadoutState {
    int style = StyleMain;
    bool alarm = false;
    int quantity = 0;
    bool relativeMode = false;
    bool limitEnabled = false;
};

// Lays a readout's text items out from the fixed template of its style, scaled to the window.
class CReadoutLayout {
public:
    using Placements = std::array<ReadoutItemPlacement, kReadoutItemCount>;

    // Fonts follow the window but never shrink below what can still be read.
    static constexpr int kMinFontPoints = 8;
    // Space between the texts and the gauge.
    static constexpr int kGaugeGap = 10;
    // A gauge draws itself at least this large: a smaller one would be cut off.
    static constexpr int kMinGaugeSide = CGaugeLayout::kMinSize;

    static Placements Items(const ReadoutState& state, int width, int height);
    // The gauge's square right of the text area, or right of `textRight` (where the widest
    // shown text ends) when a text reaches further, so that the gauge never covers a text.
    static GaugePlacement Gauge(int style, int width, int height, int textRight = 0);
    // Colour of the large digits in the normal or alarm state.
    static uint32_t ValueColour(int style, bool alarm);
    static int TextAreaWidth(int style, int width);

private:
    static bool HiddenByState(const ReadoutState& state, int item);
};
