#include "platform/CStaleTemporaryFiles.h"
#include "platform/CPrivateProfile.h"
#include "support/CTempDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The id of a process that has ended and been reaped.
std::string EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return std::to_string(child);
}

TEST(StaleTemporaryFilesTest, OnlyTheProgramsOwnNamingIsRecognised) {
    EXPECT_EQ(CStaleTemporaryFiles::WriterOf(".pelmora-4242-0.tmp"), 4242);
    EXPECT_EQ(CStaleTemporaryFiles::WriterOf("VL-D530.ini.tmp17"), 17);
    for (const char* name : {".pelmora-42.tmp", ".pelmora-x-0.tmp", ".pelmora-42-0.tmpx", "a.ini.tmp",
                             "a.ini.tmp12x", ".ini.tmp5", "notes.tmp", "a.ini", ".pelmora--1.tmp"})
        EXPECT_EQ(CStaleTemporaryFiles::WriterOf(name), 0) << name;
}

TEST(StaleTemporaryFilesTest, ASaveRemovesFilesOfEndedWritersOnly) {
    CTempDirectory directory;
    const std::string ended = EndedProcessId();
    const std::string running = "1"; // init outlives every test
    const std::string own = std::to_string(::getpid());
    for (const std::string& name :
         {".pelmora-" + ended + "-0.tmp", "M.ini.tmp" + ended, ".pelmora-" + running + "-3.tmp",
          "M.ini.tmp" + running, ".pelmora-" + own + "-9.tmp", std::string("keep.tmp")})
        directory.WriteText(name, "x");

    ASSERT_TRUE(CPrivateProfile::WriteString("A", "K", "1", directory.File("M.ini")));

    EXPECT_FALSE(std::filesystem::exists(directory.File(".pelmora-" + ended + "-0.tmp")));
    EXPECT_FALSE(std::filesystem::exists(directory.File("M.ini.tmp" + ended)));
    EXPECT_EQ(directory.EntryCount(), 5u); // the four kept files and M.ini
}

} // namespace
