#include "history/CHistoryDocument.h"

#include "support/CTempDirectory.h"
#include "support/HistoryBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
class HistoryDocumentTest : public ::testing::Test {
protected:
    std::string WriteHistory(const std::string& name, uint8_t mask, std::vector<int32_t> values) {
        HistoryHeader header;
        header.SetMask(mask);
        header.SetText(HistoryText::ModelName, "VL-D530");
        header.SetStatistics(1, {-10.0f, 10.0f, 2.0f});
        header.SetDisplayRange(1, {-40.0f, 20.0f});
        header.SetText(HistoryText::Title, "original");
        const std::string path = m_dir.File(name);
        EXPECT_TRUE(CHistoryFile::SaveHistoryRaw(path, CHistoryData(header, std::move(values))));
        return path;
    }

    CTempDirectory m_dir;
};
} // namespace

TEST_F(HistoryDocumentTest, OpensOnItsFirstChannelAndSavesOnlyWhatWasEdited) {
    const std::string path = WriteHistory("a.psh", 0x0C, {1, 2, 3, 4});
    const std::vector<uint8_t> original = CTempDirectory::ReadBytes(path);
    CHistoryDocument document;
    ASSERT_TRUE(document.Load(path).ok);
    EXPECT_EQ(document.Channel(), 1); // REV comes before PULSE
    EXPECT_EQ(document.ModelNumber(), 5);
    EXPECT_FALSE(document.IsModified());

    document.ShowChannel(4, false);
    EXPECT_TRUE(document.IsModified());
    ASSERT_TRUE(document.Save());
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(CTempDirectory::ReadBytes(path), original);

    ASSERT_TRUE(document.ChangeTitle("retitled  \t"));
    document.ShowChannel(1, false);
    ASSERT_TRUE(document.ChangeScale(-5.0, 5.0));
    ASSERT_TRUE(document.Save());
    CHistoryDocument reopened;
    ASSERT_TRUE(reopened.Load(path).ok);
    EXPECT_EQ(reopened.Header().Text(HistoryText::Title), "retitled");
    EXPECT_EQ(reopened.Header().DisplayRange(1).lower, -5.0f);
    EXPECT_EQ(reopened.Header().DisplayRange(1).upper, 5.0f);
    EXPECT_EQ(reopened.Data().Values(), document.Data().Values());
}

TEST_F(HistoryDocumentTest, SaveAsWritesACopyAndOlderLayoutHasNoSavePath) {
    const std::string path = WriteHistory("a.psh", 0x04, {7});
    CHistoryDocument document;
    ASSERT_TRUE(document.Load(path).ok);
    document.ShowChannel(1, false);
    ASSERT_TRUE(document.SaveAs(m_dir.File("copy.psh")));
    EXPECT_EQ(document.Path(), path);
    EXPECT_TRUE(document.IsModified());

    const std::string legacy = m_dir.File("old.psh");
    CTempDirectory::WriteBytes(legacy, HistoryBytes(244).Byte(0, 'A').Text(1, "VL-D030").Bytes());
    ASSERT_TRUE(document.Load(legacy).ok);
    EXPECT_EQ(document.Header().Mask(), 0x13);
    EXPECT_TRUE(document.Path().empty());
    std::string error;
    EXPECT_FALSE(document.Save(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(document.SaveAs(m_dir.File("converted.psh")));
    EXPECT_EQ(CTempDirectory::ReadBytes(m_dir.File("converted.psh")).size(), 216u);
}

TEST_F(HistoryDocumentTest, FailedLoadKeepsTheOpenHistory) {
    const std::string path = WriteHistory("a.psh", 0x04, {7});
    CHistoryDocument document;
    ASSERT_TRUE(document.Load(path).ok);
    EXPECT_FALSE(document.Load(m_dir.File("missing.psh")).ok);
    EXPECT_EQ(document.Path(), path);
    EXPECT_EQ(document.Data().RowCount(), 1);
}

TEST_F(HistoryDocumentTest, TitleIsTrimmedCutToThirtyCharactersAndNeverEmpty) {
    CHistoryDocument document;
    EXPECT_FALSE(document.ChangeTitle(" \t "));
    EXPECT_FALSE(document.IsModified());
    ASSERT_TRUE(document.ChangeTitle(std::string(28, 'x') + "\xC3\xA9\xC3\xA9\xC3\xA9"));
    EXPECT_EQ(document.Header().Text(HistoryText::Title), std::string(28, 'x') + "\xC3\xA9\xC3\xA9");
}

TEST_F(HistoryDocumentTest, ScaleIsProposedFromTheStatisticsAndBadEndsAreRefused) {
    const std::string path = WriteHistory("a.psh", 0x04, {7});
    CHistoryDocument document;
    ASSERT_TRUE(document.Load(path).ok);
    const HistoryRange proposed = document.ProposedScale();
    EXPECT_FLOAT_EQ(proposed.lower, -12.0f);
    EXPECT_FLOAT_EQ(proposed.upper, 12.0f);

    using Check = CHistoryDocument::ScaleCheck;
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(CHistoryDocument::CheckScale(std::nan(""), 1.0), Check::NotANumber);
    EXPECT_EQ(CHistoryDocument::CheckScale(-inf, 1.0), Check::NotANumber);
    EXPECT_EQ(CHistoryDocument::CheckScale(-1e30, 1e30), Check::TooLarge);
    EXPECT_EQ(CHistoryDocument::CheckScale(3.0, 3.0), Check::NotAscending);
    EXPECT_EQ(CHistoryDocument::CheckScale(5.0, -5.0), Check::NotAscending);
    EXPECT_EQ(CHistoryDocument::CheckScale(100000.0, 100000.001), Check::NotAscending); // equal as floats
    EXPECT_FALSE(document.ChangeScale(3.0, 3.0));
    EXPECT_EQ(document.Header().DisplayRange(1).lower, -40.0f);
    EXPECT_FALSE(document.IsModified());
}
