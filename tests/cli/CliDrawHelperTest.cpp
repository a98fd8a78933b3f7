// pelmora-cli as a user's shell runs it: the drawing commands go through the helper program
// beside it, and the tool itself starts without the Qt libraries.
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"

#include "support/CChildProcess.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {
constexpr int kRunLimitMs = 30000;

struct Outcome {
    int code = -1;
    std::string err;
};

Outcome RunCli(const CTempDirectory& dir, const std::vector<std::string>& arguments) {
    CChildProcess cli;
    const std::string out = dir.File("cli.out");
    const std::string err = dir.File("cli.err");
    if (!cli.Start(PELMORA_CLI, arguments, {}, out, err) || !cli.Wait(kRunLimitMs) || !cli.Exited())
        return {};
    const std::vector<uint8_t> text = CTempDirectory::ReadBytes(err);
    return {cli.ExitCode(), std::string(text.begin(), text.end())};
}

std::string LinkedLibraries(const std::string& program) {
    std::string listing;
    const std::unique_ptr<FILE, int (*)(FILE*)> ldd(popen(("ldd '" + program + "'").c_str(), "r"), pclose);
    std::array<char, 512> line{};
    while (ldd && fgets(line.data(), line.size(), ldd.get()))
        listing += line.data();
    return listing;
}
} // namespace

TEST(CliDrawHelper, DrawingCommandsRunBesideAToolWithoutQt) {
    const std::string listing = LinkedLibraries(PELMORA_CLI);
    ASSERT_NE(listing.find("libc.so"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("libQt6"), std::string::npos) << listing;

    CTempDirectory dir;
    HistoryHeader header;
    header.SetMask(0x01);
    header.SetText(HistoryText::ModelName, "VL-T120");
    const std::string history = dir.File("run.psh");
    ASSERT_TRUE(CHistoryFile::SaveHistoryRaw(history, CHistoryData(header, {100, 200, 300})));

    const std::string bitmap = dir.File("graph.bmp");
    const Outcome drawn = RunCli(dir, {"history", "bmp", history, bitmap, "--size", "40x30"});
    EXPECT_EQ(drawn.code, 0) << drawn.err;
    EXPECT_EQ(CTempDirectory::ReadBytes(bitmap).size(), 54u + 40u * 30u * 4u);

    // The helper's refusals reach the user unchanged: its message and its exit code.
    const Outcome refused = RunCli(dir, {"history", "bmp", history, bitmap, "--channel", "peak"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("pelmora-cli: the history has no peak channel"), std::string::npos)
        << refused.err;
    EXPECT_EQ(RunCli(dir, {"history", "report", history}).code, 2);
}
