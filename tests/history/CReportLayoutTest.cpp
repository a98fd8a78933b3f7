#include "history/CReportLayout.h"
#include "history/HistoryHeader.h"

#include <gtest/gtest.h>

TEST(ReportLayoutTest, PositionsAreHundredthsOfThePage) {
    const CReportLayout layout(4800, 6600);
    EXPECT_EQ(layout.UnitX(), 48);
    EXPECT_EQ(layout.UnitY(), 66);
    EXPECT_EQ(layout.Heading(), (ReportPoint{1440, 330}));
    EXPECT_EQ(layout.GraphArea(), (ReportRect{144, 2244, 4608, 4554}));
    EXPECT_EQ(layout.LabelAt(CReportLayout::LabelDate), (ReportPoint{3360, 924}));
    EXPECT_EQ(layout.ValueAt(CReportLayout::ValueDate), (ReportPoint{3648, 924}));
    EXPECT_EQ(layout.BoxAt(CReportLayout::BoxResult), (ReportRect{144, 4818, 4656, 5940}));
    EXPECT_EQ(layout.TextArea(CReportLayout::BoxResult), (ReportRect{240, 4884, 4560, 5874}));
    const std::vector<ReportRect> frames = layout.Frames();
    ASSERT_EQ(frames.size(), 9u);
    EXPECT_EQ(frames.front(), (ReportRect{0, 0, 4800, 6600}));
    EXPECT_EQ(frames[5], (ReportRect{3312, 858, 3600, 1056}));
}

TEST(ReportLayoutTest, DateAndTitleTexts) {
    EXPECT_EQ(CReportLayout::DateText({2024, 3, 1, 14, 5, 9}), " 2024,03,01 PM 2:05");
    EXPECT_EQ(CReportLayout::DateText({2024, 12, 31, 0, 30, 0}), " 2024,12,31 AM 12:30");
    EXPECT_EQ(CReportLayout::DefaultTitle(""), "History Graph");
    EXPECT_EQ(CReportLayout::DefaultTitle("run 4"), "run 4");

    HistoryHeader header;
    header.SetText(HistoryText::ModelName, "VL-D030");
    header.SetText(HistoryText::SerialNumber, "1234");
    header.SetFrequencyX100(245050);
    header.SetExternalOffset(-1.5f);
    header.SetText(HistoryText::StartTime, "2024-03-01 10:00:00");
    header.SetText(HistoryText::StopTime, "2024-03-01 10:00:05");
    EXPECT_EQ(CReportLayout::ConditionsText(header, 10),
              "Model VL-D030, S/N 1234, 2450.50 MHz, offset -1.50 dB, interval unknown, "
              "2024-03-01 10:00:00 to 2024-03-01 10:00:05, 10 rows");
}
