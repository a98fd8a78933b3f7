#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// A histogram of power samples: key in hundredths of a dB -> sample count, keys ascending and
// each once. Flat, since it is filled and walked in key order and never searched.
using PowerHistogram = std::vector<std::pair<int32_t, int32_t>>;
