#include "history/CHistoryFile.h"

#include "support/CTempDirectory.h"
#include "support/HistoryBytes.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
HistoryHeader SampleHeader(uint8_t mask) {
    HistoryHeader header;
    header.SetMask(mask);
    header.SetText(HistoryText::ModelName, "VL-D030");
    header.SetText(HistoryText::SerialNumber, "123456");
    header.SetSensorType('A');
    header.SetFrequencyX100(245050);
    header.SetText(HistoryText::StartTime, "2024-03-01 10:00:00");
    header.SetText(HistoryText::StopTime, "2024-03-01 10:00:05");
    header.SetExternalOffset(1.5f);
    header.SetText(HistoryText::Interval, "500 ms");
    for (int channel = 0; channel < 5; ++channel) {
        const float c = static_cast<float>(channel);
        header.SetStatistics(channel, {-1.0f - c, 1.0f + c, 0.5f + c});
        header.SetDisplayRange(channel, {-10.0f * (c + 1), 10.0f * (c + 1)});
    }
    header.SetText(HistoryText::Title, "bench run");
    return header;
}

// Rows of `perRow` values numbered so that every value is distinct.
std::vector<int32_t> NumberedRows(int rows, int perRow) {
    std::vector<int32_t> values;
    for (int i = 0; i < rows * perRow; ++i)
        values.push_back((i % 2 ? -1 : 1) * (1000 + i));
    return values;
}

CHistoryData LoadedSentinel() {
    return CHistoryData(SampleHeader(0x01), {4242});
}

class HistoryFileTest : public ::testing::Test {
protected:
    // Loads a file that must be refused and checks that the previous contents stayed.
    void ExpectRefused(const std::vector<uint8_t>& bytes) {
        const std::string path = m_dir.File("bad.psh");
        CTempDirectory::WriteBytes(path, bytes);
        ExpectRefusedPath(path);
    }
    void ExpectRefusedPath(const std::string& path) {
        CHistoryData data = LoadedSentinel();
        const HistoryLoadResult result = CHistoryFile::LoadHistory(path, data);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(data.RowCount(), 1);
        EXPECT_EQ(data.StoredValue(0, 0), 4242);
    }

    CTempDirectory m_dir;
};
} // namespace

TEST_F(HistoryFileTest, HeaderFieldsLandAtTheirOffsets) {
    const std::string path = m_dir.File("layout.psh");
    ASSERT_TRUE(CHistoryFile::SaveHistoryRaw(path, CHistoryData(SampleHeader(0x13), {})));
    const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(path);
    ASSERT_EQ(bytes.size(), 216u);
    EXPECT_EQ(bytes[0], 0x13);
    EXPECT_EQ(HistoryBytes::TextAt(bytes, 1, 10), std::string("VL-D030\0\0\0", 10));
    EXPECT_EQ(HistoryBytes::TextAt(bytes, 11, 10), std::string("123456\0\0\0\0", 10));
    EXPECT_EQ(bytes[21], 'A');
    EXPECT_EQ(bytes[22] | bytes[23], 0);
    EXPECT_EQ(HistoryBytes::Int32At(bytes, 24), 245050);
    EXPECT_EQ(HistoryBytes::TextAt(bytes, 28, 20), std::string("2024-03-01 10:00:00\0", 20));
    EXPECT_EQ(HistoryBytes::TextAt(bytes, 48, 20), std::string("2024-03-01 10:00:05\0", 20));
    EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(bytes, 68), 1.5f);
    EXPECT_EQ(HistoryBytes::TextAt(bytes, 72, 10), std::string("500 ms\0\0\0\0", 10));
    // Header block order is AVG, REV, PEAK, VSWR/PAR, PULSE: channel 3 (PEAK) sits third.
    const int channelAtBlock[5] = {0, 1, 3, 2, 4};
    for (int block = 0; block < 5; ++block) {
        const float c = static_cast<float>(channelAtBlock[block]);
        EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(bytes, 84 + 12 * block), -1.0f - c);
        EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(bytes, 88 + 12 * block), 1.0f + c);
        EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(bytes, 92 + 12 * block), 0.5f + c);
        EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(bytes, 144 + 8 * block), -10.0f * (c + 1));
        EXPECT_FLOAT_EQ(HistoryBytes::FloatAt(bytes, 148 + 8 * block), 10.0f * (c + 1));
    }
    EXPECT_EQ(HistoryBytes::TextAt(bytes, 184, 32), std::string("bench run") + std::string(23, '\0'));
}

TEST_F(HistoryFileTest, RowsRoundTripForSeveralMasks) {
    const uint8_t masks[] = {0x01, 0x02, 0x08, 0x13, 0x05, 0x1F};
    for (const uint8_t mask : masks) {
        SCOPED_TRACE(int(mask));
        const int perRow = __builtin_popcount(mask);
        const CHistoryData written(SampleHeader(mask), NumberedRows(3, perRow));
        const std::string path = m_dir.File("rows.psh");
        ASSERT_TRUE(CHistoryFile::SaveHistoryRaw(path, written));

        const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(path);
        ASSERT_EQ(bytes.size(), 216u + 3 * 4 * perRow);
        for (int i = 0; i < 3 * perRow; ++i)
            EXPECT_EQ(HistoryBytes::Int32At(bytes, 216 + 4 * i), written.Values()[i]);

        CHistoryData read;
        const HistoryLoadResult result = CHistoryFile::LoadHistory(path, read);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_FALSE(result.legacy);
        EXPECT_EQ(read.Header().Image(), written.Header().Image());
        EXPECT_EQ(read.Values(), written.Values());
        EXPECT_EQ(read.RowCount(), 3);
    }
}

TEST_F(HistoryFileTest, RowValuesFollowChannelOrderWithinTheMask) {
    // Mask 0x13 carries AVG, VSWR, PEAK in that order.
    const CHistoryData data(SampleHeader(0x13), {3000, 125, 3300, 3100, 130, 3400});
    EXPECT_EQ(data.ValuesPerRow(), 3);
    EXPECT_EQ(data.StoredValue(1, 0), 3100);
    EXPECT_EQ(data.StoredValue(1, 2), 130);
    EXPECT_EQ(data.StoredValue(1, 3), 3400);
    EXPECT_EQ(data.StoredValue(1, 1), 0);
    EXPECT_EQ(data.StoredValue(2, 0), 0);
    EXPECT_EQ(data.Series(3), (std::vector<double>{33.0, 34.0}));
    EXPECT_TRUE(data.Series(4).empty());
}

TEST_F(HistoryFileTest, HeaderOnlyFileLoadsWithoutRows) {
    const std::string path = m_dir.File("empty.psh");
    CTempDirectory::WriteBytes(path, HistoryBytes(216).Byte(0, 0x02).Bytes());
    CHistoryData data = LoadedSentinel();
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, data).ok);
    EXPECT_EQ(data.RowCount(), 0);
    EXPECT_EQ(data.Header().Mask(), 0x02);
}

TEST_F(HistoryFileTest, LegacyFileIsConvertedToTheCurrentLayout) {
    HistoryBytes legacy(244);
    legacy.Byte(0, 'B')
        .Text(1, "VL-D215")
        .Text(11, "777")
        .Byte(21, 'A')
        .Int32(24, 90000)
        .Text(28, "2020-01-02 03:04:05")
        .Text(48, "2020-01-02 03:04:09")
        .Float(136, -2.5f)
        .Text(140, "250 ms")
        .Text(212, "old title");
    const float triples[3][3] = {{10, 20, 15}, {11, 21, 16}, {1.1f, 1.9f, 1.4f}}; // AVG, PEAK, VSWR
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            legacy.Float(152 + 12 * i + 4 * j, triples[i][j]);
        legacy.Float(188 + 8 * i, -float(i + 1)).Float(192 + 8 * i, float(i + 1));
    }
    legacy.Text(68, "IGNORED").Text(150, "X");
    for (int32_t value : {1000, 2000, 110, 1001, 2001, 120}) // rows of AVG, PEAK, VSWR
        legacy.AppendInt32(value);
    const std::string path = m_dir.File("legacy.psh");
    CTempDirectory::WriteBytes(path, legacy.Bytes());

    EXPECT_TRUE(CHistoryFile::IsLegacyHistoryFile(path));
    CHistoryData data;
    const HistoryLoadResult result = CHistoryFile::LoadHistory(path, data);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.legacy);

    const HistoryHeader& header = data.Header();
    EXPECT_EQ(header.Mask(), 0x13);
    EXPECT_EQ(header.Text(HistoryText::ModelName), "VL-D215");
    EXPECT_EQ(header.Text(HistoryText::SerialNumber), "777");
    EXPECT_EQ(header.SensorType(), 'A');
    EXPECT_EQ(header.FrequencyX100(), 90000);
    EXPECT_EQ(header.Text(HistoryText::StartTime), "2020-01-02 03:04:05");
    EXPECT_EQ(header.Text(HistoryText::StopTime), "2020-01-02 03:04:09");
    EXPECT_FLOAT_EQ(header.ExternalOffset(), -2.5f);
    EXPECT_EQ(header.Text(HistoryText::Interval), "250 ms");
    EXPECT_EQ(header.Text(HistoryText::Title), "old title");
    EXPECT_FLOAT_EQ(header.Statistics(0).maximum, 20);
    EXPECT_FLOAT_EQ(header.Statistics(3).average, 16);
    EXPECT_FLOAT_EQ(header.Statistics(2).minimum, 1.1f);
    EXPECT_FLOAT_EQ(header.DisplayRange(0).upper, 1);
    EXPECT_FLOAT_EQ(header.DisplayRange(3).lower, -2);
    EXPECT_FLOAT_EQ(header.DisplayRange(2).upper, 3);
    for (int channel : {1, 4}) {
        EXPECT_EQ(header.Statistics(channel).maximum, 0);
        EXPECT_EQ(header.DisplayRange(channel).upper, 0);
    }
    EXPECT_EQ(header.Image()[22] | header.Image()[23] | header.Image()[82] | header.Image()[83], 0);
    EXPECT_EQ(data.Values(), (std::vector<int32_t>{1000, 110, 2000, 1001, 120, 2001}));
}

TEST_F(HistoryFileTest, FirstByteDecidesTheLayout) {
    const std::string path = m_dir.File("first.psh");
    for (uint8_t first : {uint8_t('A'), uint8_t('B'), uint8_t('C'), uint8_t(0)}) {
        CTempDirectory::WriteBytes(path, {first, 1, 2});
        EXPECT_TRUE(CHistoryFile::IsLegacyHistoryFile(path)) << int(first);
    }
    CTempDirectory::WriteBytes(path, {0x13});
    EXPECT_FALSE(CHistoryFile::IsLegacyHistoryFile(path));
    CTempDirectory::WriteBytes(path, {});
    EXPECT_FALSE(CHistoryFile::IsLegacyHistoryFile(path));
    EXPECT_FALSE(CHistoryFile::IsLegacyHistoryFile(m_dir.File("missing.psh")));
}

TEST_F(HistoryFileTest, MalformedFilesAreRefusedAndLeaveTheDataAlone) {
    ExpectRefused({});
    ExpectRefused(HistoryBytes(100).Byte(0, 0x01).Bytes());     // short header
    ExpectRefused(HistoryBytes(216 + 6).Byte(0, 0x03).Bytes()); // partial row
    ExpectRefused(HistoryBytes(216 + 4).Byte(0, 0x21).Bytes()); // unknown mask bit
    ExpectRefused(HistoryBytes(216 + 8).Byte(0, 0x80).Bytes()); // unknown bits only
    ExpectRefused(HistoryBytes(216).Byte(0, 0x00).Bytes());     // mask 0 reads as old layout
    ExpectRefused(HistoryBytes(200).Byte(0, 'A').Bytes());      // short old header
    ExpectRefused(HistoryBytes(244 + 8).Byte(0, 'C').Bytes());  // partial old row
    ExpectRefusedPath(m_dir.File("missing.psh"));
    ExpectRefusedPath(m_dir.File(""));
}

// FIFOs and file size limits are POSIX.
#ifndef _WIN32
TEST_F(HistoryFileTest, SpecialFilesAreRefusedWithoutBlocking) {
    const std::string fifo = m_dir.File("pipe.psh");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ExpectRefusedPath(fifo);
    EXPECT_FALSE(CHistoryFile::IsLegacyHistoryFile(fifo));
}
#endif

TEST_F(HistoryFileTest, AbsurdlyLargeFileIsRefused) {
    const std::string path = m_dir.File("huge.psh");
    CTempDirectory::WriteBytes(path, HistoryBytes(216).Byte(0, 0x01).Bytes());
    std::filesystem::resize_file(path, 216 + CHistoryFile::MaxRowBlockBytes + 4); // sparse
    ExpectRefusedPath(path);
}

TEST_F(HistoryFileTest, UnterminatedTextFieldsStayWithinTheirField) {
    HistoryBytes bytes(216);
    bytes.Byte(0, 0x01).Text(1, "ABCDEFGHIJ").Text(11, "0123456789").Text(72, "9999999999");
    bytes.Text(184, std::string(32, 'T'));
    const std::string path = m_dir.File("unterminated.psh");
    CTempDirectory::WriteBytes(path, bytes.Bytes());
    CHistoryData data;
    ASSERT_TRUE(CHistoryFile::LoadHistory(path, data).ok);
    EXPECT_EQ(data.Header().Text(HistoryText::ModelName), "ABCDEFGHIJ");
    EXPECT_EQ(data.Header().Text(HistoryText::SerialNumber), "0123456789");
    EXPECT_EQ(data.Header().Text(HistoryText::Interval), "9999999999");
    EXPECT_EQ(data.Header().Text(HistoryText::Title), std::string(32, 'T'));
}

TEST(HistoryHeaderTest, TextsAreCutToTheirFieldAsWindows1252) {
    HistoryHeader header;
    header.Image().fill(0xFF);
    header.SetText(HistoryText::ModelName, "ModelNameTooLong");
    header.SetText(HistoryText::Title, std::string(40, 'x'));
    header.SetText(HistoryText::SerialNumber, "S\xC3\xA9rie"); // "Série"
    EXPECT_EQ(header.Text(HistoryText::ModelName), "ModelName");
    EXPECT_EQ(header.Image()[10], 0);
    EXPECT_EQ(header.Image()[11], 'S'); // the neighbour keeps its own bytes
    EXPECT_EQ(header.Text(HistoryText::Title), std::string(31, 'x'));
    EXPECT_EQ(header.Image()[12], 0xE9);
    EXPECT_EQ(header.Text(HistoryText::SerialNumber), "S\xC3\xA9rie");
    EXPECT_EQ(header.Image()[21], 0xFF);

    header.SetText(HistoryText::Title, "a title of thirty-one characters", 30);
    EXPECT_EQ(header.Text(HistoryText::Title), "a title of thirty-one characte");
    header.SetText(HistoryText::Title, "");
    for (std::size_t offset = 184; offset < 216; ++offset)
        EXPECT_EQ(header.Image()[offset], 0);
}

#ifndef _WIN32
TEST_F(HistoryFileTest, FailedSaveKeepsTheExistingFile) {
    const std::string path = m_dir.File("keep.psh");
    const CHistoryData original(SampleHeader(0x01), {1, 2, 3});
    ASSERT_TRUE(CHistoryFile::SaveHistoryRaw(path, original));
    const std::vector<uint8_t> before = CTempDirectory::ReadBytes(path);

    // Writes beyond a small file size limit fail with EFBIG instead of a signal.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit limit = previousLimit;
    limit.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::string error;
    const bool saved =
        CHistoryFile::SaveHistoryRaw(path, CHistoryData(SampleHeader(0x1F), NumberedRows(1000, 5)), &error);
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(CTempDirectory::ReadBytes(path), before);
    EXPECT_EQ(m_dir.EntryCount(), 1u); // no temporary file left behind
}
#endif

TEST_F(HistoryFileTest, SaveReportsFailureForUnwritableTargets) {
    std::string error;
    const CHistoryData data(SampleHeader(0x01), {1});
    EXPECT_FALSE(CHistoryFile::SaveHistoryRaw(m_dir.File("missing/x.psh"), data, &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(CHistoryFile::SaveHistoryRaw(m_dir.File(""), data)); // a directory
    EXPECT_FALSE(CHistoryFile::SaveHistoryRaw(m_dir.File("nomask.psh"), CHistoryData(SampleHeader(0), {})));
    EXPECT_FALSE(
        CHistoryFile::SaveHistoryRaw(m_dir.File("badmask.psh"), CHistoryData(SampleHeader(0x41), {})));
    EXPECT_EQ(m_dir.EntryCount(), 0u);
}

TEST_F(HistoryFileTest, SaveReplacesAnExistingFileAndHandlesLongNames) {
    const std::string path = m_dir.File(std::string(250, 'n') + ".psh");
    ASSERT_TRUE(CHistoryFile::SaveHistoryRaw(path, CHistoryData(SampleHeader(0x01), {1, 2, 3, 4})));
    ASSERT_TRUE(CHistoryFile::SaveHistoryRaw(path, CHistoryData(SampleHeader(0x01), {5})));
    EXPECT_EQ(CTempDirectory::ReadBytes(path).size(), 220u);
    EXPECT_EQ(m_dir.EntryCount(), 1u);
}
