#include "app/CMessageBoxes.h"
#include "app/CMessageBoxSink.h"
#include "app/CStringTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using ::testing::_;
using ::testing::Return;

namespace {

class MockSink : public CMessageBoxSink {
public:
    MOCK_METHOD(int, Show, (void*, const std::string&, const std::string&, unsigned), (override));
};

} // namespace

class MessageBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = (std::filesystem::temp_directory_path() / ("msgbox" + std::to_string(getpid()) + ".ini"))
                     .string();
        std::ofstream(m_path) << "[STRING]\nS_FULL=Something failed.\nS_EMPTY=\n";
        CStringTable::SetPath(m_path);
        CMessageBoxes::SetSink(&m_sink);
    }
    void TearDown() override {
        CMessageBoxes::SetSink(nullptr);
        std::remove(m_path.c_str());
    }

    MockSink m_sink;
    std::string m_path;
    int m_window = 0;
};

TEST_F(MessageBoxesTest, KeyTextIsShownWithCaptionStyleAndOwner) {
    EXPECT_CALL(m_sink, Show(&m_window, "Something failed.", "Trel Power Meter", MB_ICONSTOP))
        .WillOnce(Return(IDOK));
    EXPECT_EQ(CMessageBoxes::FromKey(&m_window, "S_FULL", MB_ICONSTOP), IDOK);

    EXPECT_CALL(m_sink, Show(nullptr, "Something failed.", "Trel Power Meter", MB_YESNOQUESTION))
        .WillOnce(Return(IDNO));
    EXPECT_EQ(CMessageBoxes::FromKeyNoOwner("S_FULL", MB_YESNOQUESTION), IDNO);

    EXPECT_CALL(m_sink, Show(&m_window, "Formatted 42", "Trel Power Meter", MB_ICONEXCLAMATION))
        .WillOnce(Return(IDOK));
    EXPECT_EQ(CMessageBoxes::FromText(&m_window, "Formatted 42", MB_ICONEXCLAMATION), IDOK);
}

TEST_F(MessageBoxesTest, EmptyTextShowsNothing) {
    EXPECT_CALL(m_sink, Show(_, _, _, _)).Times(0);
    EXPECT_EQ(CMessageBoxes::FromKey(&m_window, "S_EMPTY", MB_ICONSTOP), -1);
    EXPECT_EQ(CMessageBoxes::FromKeyNoOwner("S_MISSING", MB_ICONSTOP), -1);
    EXPECT_EQ(CMessageBoxes::FromText(&m_window, "", MB_OK), -1);
}

TEST_F(MessageBoxesTest, WithoutSinkTheTextGoesToStandardError) {
    CMessageBoxes::SetSink(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(CMessageBoxes::FromKey(nullptr, "S_FULL", MB_YESNOQUESTION), IDOK);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), ::testing::HasSubstr("Something failed."));
}
