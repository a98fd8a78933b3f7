#include "appcore/CRelativeReadout.h"
#include "history/CHistoryFile.h"
#include "model/CSettingProfile.h"

#include "support/ProfileFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

using namespace std::chrono_literals;
using Side = CRelativePairing::Side;

namespace {

class CRelativeReadoutTest : public ProfileFixture {
protected:
    CRelativeReadout::Clock::time_point At(int ms) const { return m_origin + std::chrono::milliseconds(ms); }

    CRelativeReadout::Clock::time_point m_origin = CRelativeReadout::Clock::now();
    CRelativeReadout m_readout{60ms};
};

} // namespace

TEST_F(CRelativeReadoutTest, PairsTheLatestFreshReadingsAndNeverAStaleOne) {
    EXPECT_FALSE(m_readout.CurrentDb(At(0))) << "nothing measured yet";
    m_readout.OnReading(Side::SideA, 30.0f, At(0));
    EXPECT_FALSE(m_readout.CurrentDb(At(10))) << "a missing partner";
    m_readout.OnReading(Side::SideB, 40.02f, At(20));
    EXPECT_NEAR(*m_readout.CurrentDb(At(30)), 10.02f, 1e-4);
    m_readout.SetUnit(CRelativeReadout::Unit::Percent);
    EXPECT_NEAR(*m_readout.Current(At(30)), 1004.616f, 0.01f) << "the ratio in percent";
    m_readout.OnReading(Side::SideB, 41.0f, At(70));
    EXPECT_FALSE(m_readout.Current(At(70))) << "A's reading is older than a cycle";
    m_readout.OnReading(Side::SideA, std::nullopt, At(75));
    m_readout.OnReading(Side::SideB, 41.0f, At(80));
    EXPECT_FALSE(m_readout.Current(At(80))) << "a failed reading is no value";
    m_readout.OnReading(Side::SideA, 31.0f, At(90));
    EXPECT_NEAR(*m_readout.CurrentDb(At(90)), 10.0f, 1e-4);
}

TEST_F(CRelativeReadoutTest, ALostSensorLeavesRowsWithoutAValueAndItsReturnResumes) {
    m_readout.Start();
    m_readout.OnReading(Side::SideA, 30.0f, At(0));
    m_readout.OnReading(Side::SideB, 40.0f, At(10));
    m_readout.OnReading(Side::SideB, 40.0f, At(100)); // A went silent
    m_readout.Tick(At(130));
    EXPECT_EQ(m_readout.RowCount(), 2) << "B still measures: no extra row";
    m_readout.Tick(At(200)); // now B is silent too
    m_readout.Tick(At(230));
    m_readout.Tick(At(260));
    EXPECT_EQ(m_readout.RowCount(), 4) << "one row per cycle of silence";
    m_readout.OnReading(Side::SideA, 30.5f, At(300));
    m_readout.OnReading(Side::SideB, 40.0f, At(310));
    const CRecordStore& records = m_readout.Records();
    const auto differences = records.Series(ChannelAvg);
    ASSERT_EQ(differences.size(), 5u);
    EXPECT_FLOAT_EQ(differences[0], 10.0f);
    for (int row = 1; row < 4; ++row)
        EXPECT_TRUE(std::isnan(differences[row])) << row;
    EXPECT_FLOAT_EQ(differences[4], 9.5f);
    EXPECT_FLOAT_EQ(records.Minimum(ChannelAvg), 9.5f) << "a row without a value is no statistic";
    EXPECT_FLOAT_EQ(records.Maximum(ChannelAvg), 10.0f);
}

TEST_F(CRelativeReadoutTest, LimitsAreCheckedInTheUnitShown) {
    m_readout.Limits().limitEnabled = true;
    m_readout.Limits().alarmOn = true;
    m_readout.Limits().lowLimit = 5.0f;
    m_readout.Limits().highLimit = 9.0f;
    m_readout.OnReading(Side::SideA, 30.0f, At(0));
    m_readout.OnReading(Side::SideB, 40.0f, At(0));
    EXPECT_TRUE(m_readout.IsAlarm(At(1)));
    m_readout.SetUnit(CRelativeReadout::Unit::Percent);
    m_readout.Limits().lowLimit = 900.0f;
    m_readout.Limits().highLimit = 1100.0f;
    EXPECT_FALSE(m_readout.IsAlarm(At(1)));
    EXPECT_FALSE(m_readout.IsAlarm(At(500))) << "N/A is no alarm";
}

TEST_F(CRelativeReadoutTest, SavesAHistoryOfTheDifferencesAndACsvOfEveryRow) {
    m_readout.SetNames("COM5 #10001", "COM6 #10002");
    m_readout.Start();
    m_readout.OnReading(Side::SideA, 30.0f, At(0));
    m_readout.OnReading(Side::SideB, 40.25f, At(10));
    m_readout.OnReading(Side::SideB, std::nullopt, At(20));
    m_readout.Stop();

    Profile().SetModelNumber(0);
    ASSERT_TRUE(m_readout.SaveHistory(File("relative.psh"), Profile()));
    EXPECT_FALSE(m_readout.HasUnsavedRows());
    CHistoryData saved;
    ASSERT_TRUE(CHistoryFile::LoadHistory(File("relative.psh"), saved).ok);
    EXPECT_EQ(saved.Header().Mask(), 0x01) << "the AVG channel only";
    EXPECT_EQ(saved.Header().Text(HistoryText::Title), "COM6 #10002 - COM5 #10001");
    ASSERT_EQ(saved.RowCount(), 2);
    EXPECT_DOUBLE_EQ(saved.Value(0, ChannelAvg), 10.25);
    EXPECT_TRUE(std::isnan(saved.Value(1, ChannelAvg)));

    ASSERT_TRUE(m_readout.ExportCsv(File("relative.csv")));
    std::ifstream csv(File("relative.csv"), std::ios::binary);
    std::stringstream text;
    text << csv.rdbuf();
    EXPECT_EQ(text.str(), "Row,A: COM5 #10001 (dBm),B: COM6 #10002 (dBm),B - A (dB)\r\n"
                          "1,30.00,40.25,10.25\r\n"
                          "2,30.00,N/A,N/A\r\n");
}
