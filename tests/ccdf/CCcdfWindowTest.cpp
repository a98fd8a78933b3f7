#include "ccdf/CCcdfWindow.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

CCcdfWindow::MergedHistogram MergeAll(const CCcdfWindow& window) {
    std::map<int32_t, int64_t> merged;
    for (const auto& histogram : window.Histograms())
        for (const auto& [key, count] : histogram)
            merged[key] += count;
    return {merged.begin(), merged.end()};
}

} // namespace

TEST(CCcdfWindowTest, SlidesRestartsAndKeepsTheSumOfWhatItHolds) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> key(2176, 2240);
    std::uniform_int_distribution<int32_t> count(1, 3);
    CCcdfWindow window;
    for (int i = 0; i < 25; ++i) {
        CCcdfWindow::Histogram histogram;
        for (int bin = 0; bin < 20; ++bin)
            histogram.emplace_back(key(random), count(random));
        window.Add(histogram, CCcdfWindow::LengthForRate(1));
        ASSERT_EQ(window.Merged(), MergeAll(window)) << "after histogram " << i;
    }
    EXPECT_EQ(window.Size(), 20u);

    // A lowered sample count starts the window again with the histogram that arrives.
    window.Add({{3000, 5}}, CCcdfWindow::LengthForRate(0));
    EXPECT_EQ(window.Size(), 1u);
    EXPECT_EQ(window.Merged(), (CCcdfWindow::MergedHistogram{{3000, 5}}));
    EXPECT_EQ(window.Total(), 5u);
}

TEST(CCcdfWindowTest, LengthsByChoice) {
    EXPECT_EQ(CCcdfWindow::LengthForRate(0), 10u);
    EXPECT_EQ(CCcdfWindow::LengthForRate(1), 20u);
    EXPECT_EQ(CCcdfWindow::LengthForRate(2), 50u);
    EXPECT_EQ(CCcdfWindow::LengthForRate(3), 100u);
    EXPECT_EQ(CCcdfWindow::LengthForRate(-1), 10u);
}

TEST(CCcdfWindowTest, TotalOfAFullWindowExceeds32Bits) {
    CCcdfWindow window;
    for (int i = 0; i < 100; ++i)
        window.Add({{2500, INT32_MAX}}, 100);
    EXPECT_EQ(window.Total(), 100ull * INT32_MAX);
    EXPECT_EQ(window.Merged(), (CCcdfWindow::MergedHistogram{{2500, 100ll * INT32_MAX}}));
}

TEST(CCcdfWindowTest, BinsWithoutSamplesAreLeftOutAndKeysPutInOrder) {
    CCcdfWindow window;
    window.Add({{2200, 0}, {2300, -4}, {2400, 2}}, 10);
    EXPECT_EQ(window.Merged(), (CCcdfWindow::MergedHistogram{{2400, 2}}));
    EXPECT_EQ(window.Total(), 2u);

    window.Add({{2600, 3}, {2400, 1}, {2600, 9}}, 10);
    EXPECT_EQ(window.Histograms().back(), (CCcdfWindow::Histogram{{2400, 1}, {2600, 3}}));
    EXPECT_EQ(window.Merged(), (CCcdfWindow::MergedHistogram{{2400, 3}, {2600, 3}}));
}
