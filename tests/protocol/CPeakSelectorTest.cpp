#include "protocol/CPeakSelector.h"

#include <gtest/gtest.h>

TEST(PeakSelector, HandsOnTheSecondLargestAndHoldsTheNextTwo) {
    CPeakSelector selector;
    const std::array<int32_t, 11> values = {-500,  -3000, -3000, -3000, -3000, -3000,
                                            -3000, -3000, -3000, -3000, -3000};
    EXPECT_EQ(selector.Select(values), -1);
    EXPECT_EQ(selector.HeldFirst(), -1);
    EXPECT_EQ(selector.HeldSecond(), -500);
    EXPECT_EQ(selector.Select(values), -500);

    const std::array<int32_t, 11> spike = {9000, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
    EXPECT_EQ(selector.Select(spike), 1000);
    EXPECT_EQ(selector.HeldSecond(), 900);
}
