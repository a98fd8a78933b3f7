#include "history/CRecordJournal.h"
#include "history/CHistoryChannels.h"
#include "history/CHistoryFile.h"
#include "history/CJournalRecovery.h"

#include "platform/CAppPaths.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

namespace {

// A journal of AVG and PEAK written in three blocks; the bytes of the file.
std::vector<uint8_t> ThreeBlocks(const CTempDirectory& folder) {
    HistoryHeader header;
    header.SetMask(CHistoryChannels::MaskBit(0) | CHistoryChannels::MaskBit(3));
    header.SetText(HistoryText::ModelName, "VL-D530");
    CRecordJournal journal;
    EXPECT_TRUE(journal.Begin(folder.Path(), header, 1700000000));
    float value = 0.0f;
    for (int block = 0; block < 3; ++block) {
        for (int row = 0; row < 4; ++row) {
            journal.Add(0, value);
            journal.Add(3, value + 100.0f);
            journal.Add(1, 7.0f); // not a channel of the mask
            value += 1.0f;
        }
        EXPECT_TRUE(journal.Flush(1700000000 + block));
    }
    return CTempDirectory::ReadBytes(journal.Path());
}

} // namespace

TEST(CRecordJournal, EveryTornTailStillReadsAsAPrefixOfTheWholeBlocks) {
    CTempDirectory folder;
    const std::vector<uint8_t> bytes = ThreeBlocks(folder);
    CRecordJournal::Content whole;
    ASSERT_EQ(CRecordJournal::Parse(bytes.data(), bytes.size(), whole), CRecordJournal::ReadResult::Complete);
    ASSERT_EQ(whole.RowCount(), 12u);
    EXPECT_EQ(whole.lastSampleTime, 1700000002);
    EXPECT_TRUE(whole.series[1].empty());

    std::size_t wholeBlocksSeen = 0;
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        CRecordJournal::Content torn;
        const auto result = CRecordJournal::Parse(bytes.data(), size, torn);
        if (size < CRecordJournal::kPrologueSize) {
            EXPECT_EQ(result, CRecordJournal::ReadResult::Unreadable) << size;
            continue;
        }
        const std::size_t rows = torn.RowCount();
        ASSERT_EQ(rows % 4, 0u) << "only whole blocks count";
        wholeBlocksSeen += result == CRecordJournal::ReadResult::Complete ? 1 : 0;
        for (std::size_t row = 0; row < rows; ++row)
            ASSERT_EQ(torn.series[3][row], whole.series[3][row]) << size;
    }
    EXPECT_EQ(wholeBlocksSeen, 3u) << "the prologue alone and the first two blocks end cleanly";

    std::vector<uint8_t> damaged = bytes;
    damaged[damaged.size() - 5] ^= 0x40;
    CRecordJournal::Content content;
    EXPECT_EQ(CRecordJournal::Parse(damaged.data(), damaged.size(), content),
              CRecordJournal::ReadResult::TornTail);
    EXPECT_EQ(content.RowCount(), 8u);
    damaged[20] ^= 0x01;
    EXPECT_EQ(CRecordJournal::Parse(damaged.data(), damaged.size(), content),
              CRecordJournal::ReadResult::Unreadable);
}

TEST(CRecordJournal, OnlyAJournalNoProcessWritesIsRecoveredAndRowsWithoutReadingStayEmpty) {
    CTempDirectory folder;
    CTempDirectory out;
    HistoryHeader header;
    header.SetMask(CHistoryChannels::MaskBit(0));
    header.SetText(HistoryText::ModelName, "VL-D530");
    {
        CRecordJournal journal;
        ASSERT_TRUE(journal.Begin(folder.Path(), header, 1700000000));
        for (const float value : {-3.5f, std::numeric_limits<float>::quiet_NaN(), 10.0f})
            journal.Add(0, value);
        ASSERT_TRUE(journal.Flush(1700000010));
        EXPECT_TRUE(CRecordJournal::Orphans(folder.Path()).empty()) << "its writer still holds it";
        CRecordJournal empty;
        ASSERT_TRUE(empty.Begin(folder.Path(), header, 1700000000));
    }
    std::vector<CJournalRecovery::Found> found = CJournalRecovery::Find(folder.Path());
    ASSERT_EQ(found.size(), 1u) << "the one without rows is removed";
    EXPECT_EQ(folder.EntryCount(), 1u);

    const std::string path = CJournalRecovery::Recover(found[0], out.Path());
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(folder.EntryCount(), 0u);
    CHistoryData history;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, history).ok);
    ASSERT_EQ(history.RowCount(), 3);
    EXPECT_EQ(history.StoredValue(1, 0), CHistoryData::kNoValue);
    EXPECT_TRUE(std::isnan(history.Value(1, 0)));
    EXPECT_FLOAT_EQ(history.Header().Statistics(0).minimum, -3.5f);
    EXPECT_FLOAT_EQ(history.Header().Statistics(0).maximum, 10.0f);
    EXPECT_EQ(history.Header().Text(HistoryText::Interval), "3333 ms");
}

TEST(CRecordJournal, AFolderWithANonAsciiNameKeepsItsNameAndItsJournals) {
    CTempDirectory scratch;
    const std::string folder = CAppPaths::Join(scratch.Path(), "Mesures \xC3\xA9t\xC3\xA9"); // "Mesures été"
    HistoryHeader header;
    header.SetMask(CHistoryChannels::MaskBit(0));
    {
        CRecordJournal journal;
        ASSERT_TRUE(journal.Begin(folder, header, 1700000000));
        journal.Add(0, 1.5f);
        ASSERT_TRUE(journal.Flush(1700000001));
    }
    const std::u8string name =
        std::filesystem::directory_iterator(scratch.Path())->path().filename().u8string();
    EXPECT_EQ(std::string(name.begin(), name.end()), "Mesures \xC3\xA9t\xC3\xA9");

    const std::vector<CJournalRecovery::Found> found = CJournalRecovery::Find(folder);
    ASSERT_EQ(found.size(), 1u);
    const std::string path = CJournalRecovery::Recover(found[0], folder);
    CHistoryData history;
    EXPECT_TRUE(CHistoryFile::LoadHistory(path, history).ok) << path;
    EXPECT_TRUE(CJournalRecovery::Find(folder).empty());
}
