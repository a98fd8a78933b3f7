#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "support/CRecordingMessageSink.h"
#include "support/CTempDirectory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

class MessageBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_directory.WriteText("lang.ini", "[STRING]\nS_FULL=Something failed.\nS_EMPTY=\n");
        CStringTable::SetPath(m_directory.File("lang.ini"));
        CMessageBoxes::SetSink(&m_sink);
    }
    void TearDown() override { CMessageBoxes::SetSink(nullptr); }

    void ExpectShown(void* owner, const std::string& text, unsigned style) const {
        ASSERT_FALSE(m_sink.shown.empty());
        const CRecordingMessageSink::Shown& box = m_sink.shown.back();
        EXPECT_EQ(box.owner, owner);
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, "Trel Power Meter");
        EXPECT_EQ(box.style, style);
    }

    CTempDirectory m_directory;
    CRecordingMessageSink m_sink;
    int m_window = 0;
};

TEST_F(MessageBoxesTest, KeyTextIsShownWithCaptionStyleAndOwner) {
    EXPECT_EQ(CMessageBoxes::FromKey(&m_window, "S_FULL", MB_ICONSTOP), IDOK);
    ExpectShown(&m_window, "Something failed.", MB_ICONSTOP);

    m_sink.answer = IDNO;
    EXPECT_EQ(CMessageBoxes::FromKeyNoOwner("S_FULL", MB_YESNOQUESTION), IDNO);
    ExpectShown(nullptr, "Something failed.", MB_YESNOQUESTION);

    EXPECT_EQ(CMessageBoxes::FromText(&m_window, "Formatted 42", MB_ICONEXCLAMATION), IDNO);
    ExpectShown(&m_window, "Formatted 42", MB_ICONEXCLAMATION);
}

TEST_F(MessageBoxesTest, EmptyTextShowsNothing) {
    EXPECT_EQ(CMessageBoxes::FromKey(&m_window, "S_EMPTY", MB_ICONSTOP), -1);
    EXPECT_EQ(CMessageBoxes::FromKeyNoOwner("S_MISSING", MB_ICONSTOP), -1);
    EXPECT_EQ(CMessageBoxes::FromText(&m_window, "", MB_OK), -1);
    EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(MessageBoxesTest, WithoutSinkTheTextGoesToStandardError) {
    CMessageBoxes::SetSink(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(CMessageBoxes::FromKey(nullptr, "S_FULL", MB_YESNOQUESTION), IDOK);
    EXPECT_THAT(::testing::internal::GetCapturedStderr(), ::testing::HasSubstr("Something failed."));
}
