#include "history/CBitmapWriter.h"

#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

namespace {
uint32_t Le32(const std::vector<uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8 | bytes.at(at + 2) << 16 |
           static_cast<uint32_t>(bytes.at(at + 3)) << 24;
}
} // namespace

TEST(BitmapWriterTest, HeadersAndBottomUpPixels) {
    // 3 x 2 pixels, top row red green blue, bottom row white black grey.
    const std::vector<uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x804020};
    const std::vector<uint8_t> file = CBitmapWriter::Encode(3, 2, pixels);
    ASSERT_EQ(file.size(), 54u + 24u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(Le32(file, 2), 78u);
    EXPECT_EQ(Le32(file, 6), 0u);
    EXPECT_EQ(Le32(file, 10), 54u);
    const std::vector<uint32_t> info = {40, 3, 2, 1 | 32 << 16, 0, 0, 0, 0, 0, 0};
    for (std::size_t field = 0; field < info.size(); ++field)
        EXPECT_EQ(Le32(file, 14 + 4 * field), info[field]) << "info header field " << field;
    // The first stored row is the bottom one; each pixel is blue, green, red, zero.
    const std::vector<uint8_t> rows(file.begin() + 54, file.end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{255, 255, 255, 0, 0, 0,   0, 0, 0x20, 0x40, 0x80, 0,
                                          0,   0,   255, 0, 0, 255, 0, 0, 255,  0,    0,    0}));
}

TEST(BitmapWriterTest, SizeFollowsTheImageAndBadImagesAreRefused) {
    EXPECT_EQ(CBitmapWriter::Encode(600, 400, std::vector<uint32_t>(600 * 400)).size(), 54u + 960000u);
    EXPECT_TRUE(CBitmapWriter::Encode(2, 2, std::vector<uint32_t>(3)).empty());
    EXPECT_TRUE(CBitmapWriter::Encode(0, 5, {}).empty());
}

TEST(BitmapWriterTest, FailedWriteKeepsTheExistingFileAndLeavesNoPartialFile) {
    CTempDirectory dir;
    const std::string path = dir.File("graph.bmp");
    CTempDirectory::WriteBytes(path, {1, 2, 3});
    std::string error;
    EXPECT_FALSE(CBitmapWriter::Write(path, 0, 0, {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(CBitmapWriter::Write(dir.File("missing/graph.bmp"), 1, 1, std::vector<uint32_t>{0}, &error));
    EXPECT_EQ(CTempDirectory::ReadBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(dir.EntryCount(), 1u);
    ASSERT_TRUE(CBitmapWriter::Write(path, 1, 1, std::vector<uint32_t>{0x010203}, &error)) << error;
    EXPECT_EQ(CTempDirectory::ReadBytes(path).size(), 58u);
}
