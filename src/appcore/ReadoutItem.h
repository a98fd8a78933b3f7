#pragma once

// The text items of a measurement readout.
enum ReadoutItem : int {
    ItemModel = 0,
    ItemSerial = 1,
    ItemType = 2,
    ItemFrequency = 3,
    ItemExtOffset = 4,
    ItemMode = 5,
    ItemReference = 6,
    ItemMinimum = 7,
    ItemMaximum = 8,
    ItemValue = 9,
    ItemWatts = 10, // or the return loss line
    ItemLabel = 11,
    ItemLowLimit = 12,
    ItemHighLimit = 13,
    ItemDutyCycle = 14,
    ItemBurstWidth = 15,
    ItemTechnology = 16,
};

constexpr int kReadoutItemCount = 17;

// Readout styles.
enum ReadoutStyle : int {
    StyleMain = 0,
    StyleSmall = 1,
    StyleFullScreen = 2,
    StyleFullScreenPulse = 3,
};

constexpr int kReadoutStyleCount = 4;
