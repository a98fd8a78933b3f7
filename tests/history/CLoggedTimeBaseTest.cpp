#include "history/CLoggedTimeBase.h"
#include "history/CHistoryRecorder.h"

#include <gtest/gtest.h>

TEST(CLoggedTimeBaseTest, OnlyTheRunThatMadeTheDataGivesItTimes) {
    const LoggingRun run{1'800'000'000, 1234, 60, 0x05};
    HistoryHeader header;
    header.SetMask(0x05);
    CLoggedTimeBase::Stamp(header, run, "1234", 10);
    EXPECT_EQ(header.Text(HistoryText::StartTime), CHistoryRecorder::TimeText(run.started));
    EXPECT_EQ(header.Text(HistoryText::StopTime), CHistoryRecorder::TimeText(run.started + 9 * 60));
    EXPECT_EQ(header.Text(HistoryText::Interval), "60000 ms");

    // Another sensor, other channels or no set-up at all: no times rather than invented ones.
    for (auto [serial, mask, known] : {std::tuple{"999", 0x05, run}, std::tuple{"1234", 0x0F, run},
                                       std::tuple{"1234", 0x05, LoggingRun{}}}) {
        header.SetMask(static_cast<uint8_t>(mask));
        CLoggedTimeBase::Stamp(header, known, serial, 10);
        EXPECT_EQ(header.Text(HistoryText::StartTime), "") << serial << " " << mask;
        EXPECT_EQ(header.Text(HistoryText::Interval), "");
    }
}
