#include "cli/CCliHistoryExports.h"
#include "cli/CCliDispatcher.h"
#include "history/CHistoryFile.h"

#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
class CliHistoryExportsTest : public ::testing::Test {
protected:
    CliHistoryExportsTest() {
        m_dispatcher.Add(CCliHistoryExports::Commands());
        HistoryHeader header;
        header.SetMask(0x13);
        header.SetText(HistoryText::ModelName, "VL-D030");
        header.SetStatistics(0, {-20.0f, 10.0f, 0.0f});
        header.SetDisplayRange(0, {-30.0f, 20.0f});
        std::vector<int32_t> rows;
        for (int row = 0; row < 50; ++row)
            rows.insert(rows.end(), {row * 50 - 2000, 150, 500});
        m_history = m_dir.File("run.psh");
        EXPECT_TRUE(CHistoryFile::SaveHistoryRaw(m_history, CHistoryData(header, rows)));
    }

    int Run(const std::vector<std::string>& commandLine) {
        m_err.str("");
        return m_dispatcher.Run(commandLine, m_out, m_err);
    }

    CTempDirectory m_dir;
    std::string m_history;
    CCliDispatcher m_dispatcher;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

// Blue, green, red of a pixel counted from the top-left of a 32-bit bottom-up bitmap.
std::vector<uint8_t> PixelAt(const std::vector<uint8_t>& file, int width, int height, int x, int y) {
    const std::size_t at = 54 + (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
    return {file.at(at), file.at(at + 1), file.at(at + 2), file.at(at + 3)};
}
} // namespace

TEST_F(CliHistoryExportsTest, BitmapHasTheViewerSizeAndScreenColours) {
    const std::string out = m_dir.File("graph.bmp");
    ASSERT_EQ(Run({"history", "bmp", m_history, out}), 0) << m_err.str();
    const std::vector<uint8_t> file = CTempDirectory::ReadBytes(out);
    ASSERT_EQ(file.size(), 54u + 600u * 400u * 4u);
    EXPECT_EQ(PixelAt(file, 600, 400, 0, 0), (std::vector<uint8_t>{114, 61, 28, 0}));
    bool dataDrawn = false;
    for (std::size_t at = 54; at < file.size() && !dataDrawn; at += 4)
        dataDrawn = file[at] == 0 && file[at + 1] == 255 && file[at + 2] == 255;
    EXPECT_TRUE(dataDrawn) << "no yellow data line";

    ASSERT_EQ(Run({"history", "bmp", m_history, out, "--size", "400x300", "--channel", "rl"}), 0)
        << m_err.str();
    EXPECT_EQ(CTempDirectory::ReadBytes(out).size(), 54u + 400u * 300u * 4u);
}

TEST_F(CliHistoryExportsTest, RefusedRequestsWriteNothing) {
    const std::string out = m_dir.File("graph.bmp");
    EXPECT_EQ(Run({"history", "bmp", m_history, out, "--channel", "pulse"}), 1);
    EXPECT_NE(m_err.str().find("no pulse channel"), std::string::npos) << m_err.str();
    EXPECT_EQ(Run({"history", "bmp", m_history, out, "--size", "0x10"}), 1);
    EXPECT_EQ(Run({"history", "bmp", m_dir.File("missing.psh"), out}), 1);
    EXPECT_EQ(Run({"history", "report", m_history, m_dir.File("r.pdf"), "--author", "x"}), 1);
    EXPECT_EQ(m_dir.EntryCount(), 1u);
}

TEST_F(CliHistoryExportsTest, ReportIsAOnePagePdf) {
    const std::string out = m_dir.File("report.pdf");
    ASSERT_EQ(Run({"history", "report", m_history, out, "--engineer", "K. Ito", "--result", "pass"}), 0)
        << m_err.str();
    const std::vector<uint8_t> bytes = CTempDirectory::ReadBytes(out);
    const std::string pdf(bytes.begin(), bytes.end());
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page\n"); at != std::string::npos;
         at = pdf.find("/Type /Page\n", at + 1))
        ++pages;
    EXPECT_EQ(pages, 1u);
}
