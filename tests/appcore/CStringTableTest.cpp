#include "appcore/CStringTable.h"
#include "platform/CAppPaths.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

class StringTableTest : public ::testing::Test {
protected:
    void SetUp() override { CStringTable::SetPath(m_directory.File("lang.ini")); }

    void WriteFile(const std::string& content) { m_directory.WriteText("lang.ini", content); }

    CTempDirectory m_directory;
};

TEST_F(StringTableTest, LooksUpBySectionAndKey) {
    WriteFile("[STRING]\nS_A=General\n[MENU]\nMF_A=&File\n[IDD_X]\nCAPTION=Dialog\n");
    EXPECT_EQ(CStringTable::GetGeneralText("S_A"), "General");
    EXPECT_EQ(CStringTable::GetMenuText("MF_A"), "&File");
    EXPECT_EQ(CStringTable::GetText("IDD_X", "CAPTION"), "Dialog");
    EXPECT_EQ(CStringTable::GetMenuText("S_A"), "");
}

TEST_F(StringTableTest, MissingOrEmptyGivesEmptyText) {
    EXPECT_EQ(CStringTable::GetGeneralText("S_A"), ""); // no file yet
    WriteFile("[STRING]\nS_EMPTY=\n");
    EXPECT_EQ(CStringTable::GetGeneralText("S_EMPTY"), "");
    EXPECT_EQ(CStringTable::GetGeneralText("S_MISSING"), "");
    EXPECT_EQ(CStringTable::GetText("NO_SECTION", "S_EMPTY"), "");
}

TEST_F(StringTableTest, EditsAreSeenByTheNextLookUp) {
    WriteFile("[STRING]\nS_A=Before\n");
    EXPECT_EQ(CStringTable::GetGeneralText("S_A"), "Before");
    WriteFile("[STRING]\nS_A=After\n");
    EXPECT_EQ(CStringTable::GetGeneralText("S_A"), "After");
}

TEST_F(StringTableTest, LongValuesAreCutTo1023Characters) {
    WriteFile("[STRING]\nS_LONG=" + std::string(1500, 'x') + "\nS_EXACT=" + std::string(1023, 'y') + "\n");
    EXPECT_EQ(CStringTable::GetGeneralText("S_LONG"), std::string(1023, 'x'));
    EXPECT_EQ(CStringTable::GetGeneralText("S_EXACT"), std::string(1023, 'y'));

    // Two-byte characters: the cut counts characters and never splits one. Windows' profile
    // functions read the file in the ANSI code page, where the character is one byte.
    std::string umlaut = "\xC3\xBC";
#ifdef _WIN32
    const std::string umlautInFile = "\xFC";
#else
    const std::string umlautInFile = umlaut;
#endif
    std::string text;
    std::string textInFile;
    for (int i = 0; i < 1100; ++i) {
        text += umlaut;
        textInFile += umlautInFile;
    }
    WriteFile("[STRING]\nS_WIDE=" + textInFile + "\n");
    EXPECT_EQ(CStringTable::GetGeneralText("S_WIDE"), text.substr(0, 1023 * umlaut.size()));
}

TEST(StringTablePath, LanguageFileLiesBesideTheExecutable) {
    CAppPaths::OverrideExecutableDirectory("/opt/Program Files Long Name/pelmora");
    EXPECT_EQ(CStringTable::BuildPath(), "/opt/Program Files Long Name/pelmora/TrelPMEnStr.ini");
    CAppPaths::OverrideExecutableDirectory("");
}
