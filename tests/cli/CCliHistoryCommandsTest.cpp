#include "cli/CCliHistoryCommands.h"
#include "cli/CCliDispatcher.h"
#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryFile.h"

#include "support/CTempDirectory.h"
#include "support/HistoryBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>

namespace {
class CliHistoryTest : public ::testing::Test {
protected:
    CliHistoryTest() { m_dispatcher.Add(CCliHistoryCommands::Commands()); }

    int Run(const std::vector<std::string>& commandLine) {
        m_out.str("");
        m_err.str("");
        return m_dispatcher.Run(commandLine, m_out, m_err);
    }

    std::string WriteSample(uint8_t mask, const std::string& model, std::vector<int32_t> values) {
        HistoryHeader header;
        header.SetMask(mask);
        header.SetText(HistoryText::ModelName, model);
        header.SetSensorType('B');
        header.SetFrequencyX100(100025);
        header.SetStatistics(2, {0.5f, 7.25f, 3.0f});
        // What a writer may leave in the statistics of a channel it did not record.
        const float nan = std::numeric_limits<float>::quiet_NaN();
        header.SetStatistics(1, {nan, nan, nan});
        header.SetText(HistoryText::Title, "line test");
        const std::string path = m_dir.File("sample.psh");
        EXPECT_TRUE(CHistoryFile::SaveHistoryRaw(path, CHistoryData(header, std::move(values))));
        return path;
    }

    static long LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

    CTempDirectory m_dir;
    CCliDispatcher m_dispatcher;
    std::ostringstream m_out;
    std::ostringstream m_err;
};
} // namespace

TEST_F(CliHistoryTest, InfoPrintsHeaderFieldsAndRowCount) {
    const std::string path = WriteSample(0x13, "VL-T420", {1, 2, 3, 4, 5, 6});
    ASSERT_EQ(Run({"history", "info", path}), 0) << m_err.str();
    const std::string out = m_out.str();
    for (const char* expected :
         {"Layout: current", "Mask: 0x13 (AVG PAR PEAK)", "Model: VL-T420 (model number 4)",
          "Type: B (terminating)", "Frequency: 1000.25 MHz", "Title: line test", "Rows: 2\n",
          "PAR      yes            0.50        7.25        3.00",
          "REV      no             none        none        none         0.00         0.00"}) {
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
    }
    EXPECT_EQ(out.find("nan"), std::string::npos) << out;
    EXPECT_TRUE(m_err.str().empty());
}

TEST_F(CliHistoryTest, InfoReadsTheOlderLayout) {
    HistoryBytes legacy(244);
    legacy.Byte(0, 'A').Text(1, "VL-D215").AppendInt32(1).AppendInt32(2).AppendInt32(3);
    const std::string path = m_dir.File("old.psh");
    CTempDirectory::WriteBytes(path, legacy.Bytes());
    ASSERT_EQ(Run({"history", "info", path}), 0) << m_err.str();
    EXPECT_NE(m_out.str().find("Layout: older"), std::string::npos);
    EXPECT_NE(m_out.str().find("Mask: 0x13 (AVG VSWR PEAK)"), std::string::npos);
    EXPECT_NE(m_out.str().find("Rows: 1\n"), std::string::npos);
}

TEST_F(CliHistoryTest, CsvWritesTheExportBytesWithTheFileModel) {
    const std::string path = WriteSample(0x03, "VL-D530", {100, 200});
    const std::string csv = m_dir.File("out.csv");
    ASSERT_EQ(Run({"history", "csv", path, csv}), 0) << m_err.str();
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, data).ok);
    const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(csv);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), CHistoryCsvWriter::Format(data, 5));
    EXPECT_NE(CHistoryCsvWriter::Format(data, 5).find("AVG,PEAK,\r\n1.00,2.00\r\n"), std::string::npos);

    ASSERT_EQ(Run({"history", "csv", path, csv, "--time"}), 0) << m_err.str();
    const std::vector<uint8_t> timed = CTempDirectory::ReadBytes(csv);
    EXPECT_EQ(std::string(timed.begin(), timed.end()),
              CHistoryCsvWriter::Format(data, 5, CHistoryCsvWriter::Layout::WithTimeBase));
    EXPECT_EQ(Run({"history", "csv", path, csv, "--times"}), 1);
}

TEST_F(CliHistoryTest, FailuresGiveOneLineOnStderrAndNonZeroExit) {
    EXPECT_EQ(Run({"history", "info", m_dir.File("missing.psh")}), 1);
    EXPECT_NE(m_err.str().find("missing.psh"), std::string::npos);
    EXPECT_EQ(LineCount(m_err.str()), 1);
    EXPECT_TRUE(m_out.str().empty());

    const std::string path = WriteSample(0x01, "VL-T120", {1});
    EXPECT_EQ(Run({"history", "csv", path, m_dir.File("no/dir.csv")}), 1);
    EXPECT_EQ(LineCount(m_err.str()), 1);

    EXPECT_EQ(Run({"history", "info"}), CCliDispatcher::UsageError);
    EXPECT_NE(m_err.str().find("usage: pelmora-cli history info FILE"), std::string::npos);
    EXPECT_EQ(Run({"history", "csv", path}), CCliDispatcher::UsageError);
    EXPECT_EQ(Run({"history"}), CCliDispatcher::UsageError);
    EXPECT_EQ(Run({"frobnicate"}), CCliDispatcher::UsageError);
    EXPECT_EQ(Run({}), CCliDispatcher::UsageError);
}

TEST_F(CliHistoryTest, HelpListsEveryCommandAndLongerCommandsWin) {
    int shortCalls = 0;
    int longCalls = 0;
    m_dispatcher.Add(
        {{{"logging"}, "[ARGS...]", "short", 0, -1, [&](const CliContext&) { return ++shortCalls, 0; }},
         {{"logging", "start"}, "", "long", 0, 0, [&](const CliContext&) { return ++longCalls, 0; }}});
    EXPECT_EQ(Run({"logging", "start"}), 0);
    EXPECT_EQ(Run({"logging", "x", "y"}), 0);
    EXPECT_EQ(longCalls, 1);
    EXPECT_EQ(shortCalls, 1);

    EXPECT_EQ(Run({"--help"}), 0);
    for (const char* expected : {"history info FILE", "history csv FILE OUT.csv", "logging start", "--help"})
        EXPECT_NE(m_out.str().find(expected), std::string::npos) << expected;
}
