#include "platform/CAppPaths.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {
// The program writes '/' between folders; the scratch folder's own path has '\\'.
std::string Generic(const std::string& path) {
    return std::filesystem::path(path).generic_string();
}

class AppPathsWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_root.File("Program Files/Pelmora"));
        std::filesystem::create_directories(m_root.File("Tools/Pelmora"));
        std::filesystem::create_directories(m_root.File("Program Files (old)/Pelmora"));
        _putenv_s("ProgramFiles", m_root.File("Program Files").c_str());
        _putenv_s("APPDATA", m_root.File("Roaming").c_str());
        _putenv_s("LOCALAPPDATA", m_root.File("Local").c_str());
    }
    void TearDown() override { CAppPaths::OverrideExecutableDirectory(""); }

    std::string Roaming() const { return Generic(m_root.File("Roaming/Pelmora")); }

    CTempDirectory m_root;
};
} // namespace

// An installed copy keeps its settings with the user even where Program Files can be written
// (an administrator, Wine); a copy unpacked elsewhere keeps them beside itself.
TEST_F(AppPathsWin32, ProfilesOfAnInstalledCopyGoToTheUsersApplicationData) {
    CAppPaths::OverrideExecutableDirectory(m_root.File("Program Files/Pelmora"));
    EXPECT_EQ(CAppPaths::ProfileDirectory(), Roaming());
    CAppPaths::OverrideExecutableDirectory(m_root.File("PROGRAM FILES/Pelmora"));
    EXPECT_EQ(CAppPaths::ProfileDirectory(), Roaming()) << "Windows ignores case";
    CAppPaths::OverrideExecutableDirectory(m_root.File("Program Files (old)/Pelmora"));
    EXPECT_NE(CAppPaths::ProfileDirectory(), Roaming()) << "only the folder itself";
    CAppPaths::OverrideExecutableDirectory(m_root.File("Tools/Pelmora"));
    EXPECT_EQ(Generic(CAppPaths::ProfileDirectory()), Generic(m_root.File("Tools/Pelmora")));
    EXPECT_EQ(CAppPaths::UserDataDirectory(), Generic(m_root.File("Local/Pelmora")));
}
