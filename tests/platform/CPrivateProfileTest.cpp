#include "platform/CPrivateProfile.h"
#include "support/CTempDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace {

class PrivateProfileTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = m_directory.File("profile.ini"); }

    void WriteFile(const std::string& text) const { m_directory.WriteText("profile.ini", text); }
    std::string FileText() const { return m_directory.ReadText("profile.ini"); }
    std::string Read(const std::string& section, const std::string& key) const {
        return CPrivateProfile::ReadString(section, key, "<default>", m_path);
    }

    CTempDirectory m_directory;
    std::string m_path;
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Read("HEADER", "DEVICE"), "<default>");
    EXPECT_EQ(CPrivateProfile::ReadInt("HEADER", "DECIMAL", 7, m_path), 7);
    WriteFile("[HEADER]\nDEVICE=X\n");
    EXPECT_EQ(Read("AVG", "DEVICE"), "<default>");
    EXPECT_EQ(Read("HEADER", "RATE"), "<default>");
}

TEST_F(PrivateProfileTest, NamesMatchCaseInsensitivelyAndValuesAreTrimmedAndUnquoted) {
    WriteFile("; comment\n[Header]\n  device =  \"  Quoted Name \"  \nPlain =  text with  blanks \t\n"
              "Single='x'\nHalf=\"open\nEmpty=\n");
    EXPECT_EQ(Read("HEADER", "DEVICE"), "  Quoted Name ");
    EXPECT_EQ(Read("header", "plain"), "text with  blanks");
    EXPECT_EQ(Read("HEADER", "SINGLE"), "x");
    EXPECT_EQ(Read("HEADER", "HALF"), "\"open");
    EXPECT_EQ(Read("HEADER", "EMPTY"), "");
}

TEST_F(PrivateProfileTest, IntegerReadsTakeTheLeadingDigits) {
    WriteFile("[S]\nA=42\nB=-17abc\nC=abc\nD= +8 \nE=\nF=99999999999\nG=3.9\n");
    auto readInt = [&](const char* key) { return CPrivateProfile::ReadInt("S", key, -99, m_path); };
    EXPECT_EQ(readInt("A"), 42);
    EXPECT_EQ(readInt("B"), -17);
    EXPECT_EQ(readInt("C"), -99);
    EXPECT_EQ(readInt("D"), 8);
    EXPECT_EQ(readInt("E"), -99);
    EXPECT_EQ(readInt("F"), 2147483647);
    EXPECT_EQ(readInt("G"), 3);
}

TEST_F(PrivateProfileTest, WritingAKeyKeepsEveryOtherLine) {
    WriteFile("; settings\n[HEADER]\nDEVICE=A\n; keep me\nFREQUENCY=1\n\n[AVG]\nRATE=2\n");
    ASSERT_TRUE(CPrivateProfile::WriteString("header", "frequency", "   2400.00000000", m_path));
    ASSERT_TRUE(CPrivateProfile::WriteString("AVG", "REPEAT", "3", m_path));
    ASSERT_TRUE(CPrivateProfile::WriteString("LOGGING", "ITEMS", "15", m_path));
#ifdef _WIN32
    // The system's profile functions lay the file out in their own way; nothing else is lost.
    for (const char* kept : {"; settings", "DEVICE=A", "; keep me", "RATE=2", "REPEAT=3", "[LOGGING]"})
        EXPECT_NE(FileText().find(kept), std::string::npos) << kept;
#else
    EXPECT_EQ(FileText(), "; settings\n[HEADER]\nDEVICE=A\n; keep me\nfrequency=   2400.00000000\n\n[AVG]\n"
                          "RATE=2\nREPEAT=3\n\n[LOGGING]\nITEMS=15\n");
#endif
    EXPECT_EQ(Read("HEADER", "FREQUENCY"), "2400.00000000");
}

TEST_F(PrivateProfileTest, WritingCreatesTheFileAndKeepsWindowsLineEnds) {
    ASSERT_TRUE(CPrivateProfile::WriteString("A", "K", "v", m_path));
#ifdef _WIN32
    EXPECT_EQ(FileText(), "[A]\r\nK=v\r\n"); // the system's own line ends
#else
    EXPECT_EQ(FileText(), "[A]\nK=v\n");
#endif
    WriteFile("[A]\r\nK=v\r\n");
    ASSERT_TRUE(CPrivateProfile::WriteString("A", "K", "w", m_path));
    EXPECT_EQ(FileText(), "[A]\r\nK=w\r\n");
}

TEST_F(PrivateProfileTest, ReadsSeeEditsMadeByOthers) {
    WriteFile("[A]\nK=1\n");
    EXPECT_EQ(Read("A", "K"), "1");
    WriteFile("[A]\nK=2\n"); // same size, within the same tick of the file clock
    EXPECT_EQ(Read("A", "K"), "2");
    std::filesystem::remove(m_path);
    EXPECT_EQ(Read("A", "K"), "<default>");
    WriteFile("K=0\n[B]\nK=1\n[b]\nK=2\n");
#ifndef _WIN32
    // A key above every section belongs to none (Windows' profile functions give it to "").
    EXPECT_EQ(Read("", "K"), "<default>");
#endif
    EXPECT_EQ(Read("B", "K"), "1");
}

TEST_F(PrivateProfileTest, WithARecheckIntervalOwnWritesShowAtOnceAndEditsByOthersAfterIt) {
    using namespace std::chrono_literals;
    struct Interval {
        Interval() { CPrivateProfile::SetRecheckInterval(100ms); }
        ~Interval() { CPrivateProfile::SetRecheckInterval(0ms); }
    } interval;
    WriteFile("[A]\nK=1\n");
    EXPECT_EQ(Read("A", "K"), "1");
    ASSERT_TRUE(CPrivateProfile::WriteString("A", "K", "2", m_path));
    EXPECT_EQ(Read("A", "K"), "2");
    WriteFile("[A]\nK=3\n");
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(Read("A", "K"), "3");
}

TEST_F(PrivateProfileTest, ABatchOfWritesGivesTheBytesOfSingleWritesInOneReplacement) {
    const std::string start = "; keep\r\n[HEADER]\r\nDEVICE=A\r\n\r\n[AVG]\r\nRATE=2";
    const std::vector<CPrivateProfile::Entry> entries = {
        {"HEADER", "DEVICE", "B"}, {"AVG", "REPEAT", "3"}, {"NEW", "X", "1"}, {"avg", "rate", "4"}};
    WriteFile(start);
    for (const auto& entry : entries)
        ASSERT_TRUE(CPrivateProfile::WriteString(entry.section, entry.key, entry.value, m_path));
    const std::string oneByOne = FileText();
    WriteFile(start);
    ASSERT_TRUE(CPrivateProfile::WriteStrings(entries, m_path));
    EXPECT_EQ(FileText(), oneByOne);
    EXPECT_EQ(m_directory.EntryCount(), 1u);
}

TEST_F(PrivateProfileTest, AWriteThatCannotBeDoneReportsFailure) {
    EXPECT_FALSE(CPrivateProfile::WriteString("A", "K", "1", m_directory.File("missing/profile.ini")));
    std::filesystem::create_directory(m_path); // a directory where the file should be
    EXPECT_FALSE(CPrivateProfile::WriteString("A", "K", "1", m_path));
    EXPECT_TRUE(std::filesystem::is_directory(m_path));
}

} // namespace
