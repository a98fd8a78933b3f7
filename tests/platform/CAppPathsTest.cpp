#include "platform/CAppPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
class CAppPathsTest : public testing::Test {
protected:
    CAppPathsTest() : m_root(fs::temp_directory_path() / ("paths-" + std::to_string(getpid()))) {
        fs::create_directories(m_root / "bin");
        if (const char* home = std::getenv("HOME"))
            m_home = home;
        setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
    }
    ~CAppPathsTest() override {
        CAppPaths::OverrideExecutableDirectory("");
        unsetenv("XDG_CONFIG_HOME");
        setenv("HOME", m_home.c_str(), 1);
        fs::remove_all(m_root);
    }

    fs::path m_root;
    std::string m_home;
};
} // namespace

TEST_F(CAppPathsTest, ProfilesStayBesideAWritableExecutable) {
    CAppPaths::OverrideExecutableDirectory((m_root / "bin").string());
    EXPECT_EQ(CAppPaths::ProfileDirectory(), (m_root / "bin").string());
    EXPECT_EQ(std::distance(fs::directory_iterator(m_root / "bin"), fs::directory_iterator()), 0)
        << "the write check leaves nothing behind";
}

// Root may write anywhere the permission bits forbid, so a folder that cannot hold files at all
// stands for the system folder of an installed program.
TEST_F(CAppPathsTest, ProfilesGoToTheUserSettingsFolderWhenTheExecutableFolderIsNotWritable) {
    CAppPaths::OverrideExecutableDirectory("/proc/self");
    EXPECT_EQ(CAppPaths::ProfileDirectory(), (m_root / "config" / "pelmora").string());
    EXPECT_TRUE(fs::is_directory(m_root / "config" / "pelmora"));
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", m_root.c_str(), 1);
    EXPECT_EQ(CAppPaths::UserConfigDirectory(), (m_root / ".config" / "pelmora").string());
}
