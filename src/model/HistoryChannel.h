#pragma once

// Channels of the record store. The range-and-limit items use the same numbers plus
// a sixth item for CCDF, which has no channel.
enum HistoryChannel : int {
    ChannelAvg = 0,
    ChannelRev = 1,
    ChannelVswr = 2, // VSWR, or peak-to-average ratio on the models that report it
    ChannelPeak = 3,
    ChannelPulse = 4,
};

constexpr int kChannelCount = 5;
constexpr int kItemCcdf = 5;
constexpr int kItemCount = 6;

// Channels holding powers in dBm (all but VSWR/PAR).
constexpr bool IsPowerChannel(int channel) {
    return channel >= 0 && channel < kChannelCount && channel != ChannelVswr;
}
