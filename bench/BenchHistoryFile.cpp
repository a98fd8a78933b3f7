// File writes next to their floor: the same bytes written raw, fsynced and renamed into place.
#include "CRatioReporter.h"
#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryFile.h"
#include "model/CSettingProfile.h"
#include "platform/CAppPaths.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <stdlib.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kRows = 100000;
constexpr uint8_t kAllChannels = 0x1F;

// A full recording: every channel of every row filled.
CHistoryData FullHistory() {
    HistoryHeader header;
    header.SetMask(kAllChannels);
    header.SetText(HistoryText::ModelName, "VL-D530");
    header.SetFrequencyX100(240000);
    std::vector<int32_t> values(static_cast<std::size_t>(kRows) * 5);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<int32_t>(i % 7919) - 3000;
    return CHistoryData(header, std::move(values));
}

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelmora-bench-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) ? pattern : std::filesystem::temp_directory_path().string();
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const char* name) const { return (std::filesystem::path(m_path) / name).string(); }

private:
    std::string m_path;
};

std::string FileBytes(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

// The floor of an atomic replacement: one write of ready bytes, fsync, close, rename.
bool RawReplace(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".raw";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && written && std::rename(temporary.c_str(), path.c_str()) == 0;
}

void RawReplaceLoop(benchmark::State& state, const std::string& path, const std::string& bytes) {
    if (bytes.empty()) {
        state.SkipWithError("nothing to write");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RawReplace(path, bytes));
}

void BM_WriteHistory(benchmark::State& state) {
    const ScratchDirectory directory;
    const CHistoryData data = FullHistory();
    const std::string path = directory.File("bench.psh");
    for (auto _ : state)
        benchmark::DoNotOptimize(CHistoryFile::SaveHistoryRaw(path, data));
    state.SetBytesProcessed(state.iterations() * (216 + int64_t(kRows) * 20));
}

void BM_RawWriteHistory(benchmark::State& state) {
    const ScratchDirectory directory;
    const std::string path = directory.File("bench.psh");
    CHistoryFile::SaveHistoryRaw(path, FullHistory());
    RawReplaceLoop(state, path, FileBytes(path));
}

void BM_ReadHistory(benchmark::State& state) {
    const ScratchDirectory directory;
    const std::string path = directory.File("bench.psh");
    CHistoryFile::SaveHistoryRaw(path, FullHistory());
    for (auto _ : state) {
        CHistoryData data;
        benchmark::DoNotOptimize(CHistoryFile::LoadHistory(path, data).ok);
    }
    state.SetBytesProcessed(state.iterations() * (216 + int64_t(kRows) * 20));
}

// The floor for reading: one fread of the whole file into a buffer.
void BM_PlainRead(benchmark::State& state) {
    const ScratchDirectory directory;
    const std::string path = directory.File("bench.psh");
    CHistoryFile::SaveHistoryRaw(path, FullHistory());
    const std::size_t size = 216 + std::size_t(kRows) * 20;
    for (auto _ : state) {
        std::vector<char> buffer(size);
        std::FILE* file = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.data(), 1, size, file));
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * int64_t(size));
}

void BM_ExportCsv(benchmark::State& state) {
    const ScratchDirectory directory;
    const CHistoryData data = FullHistory();
    const std::string path = directory.File("bench.csv");
    for (auto _ : state)
        benchmark::DoNotOptimize(CHistoryCsvWriter::Write(path, data, 5));
}

void BM_RawWriteCsv(benchmark::State& state) {
    const ScratchDirectory directory;
    RawReplaceLoop(state, directory.File("bench.csv"), CHistoryCsvWriter::Format(FullHistory(), 5));
}

// A settings profile of model 0 saved beside a stand-in executable directory.
void BM_ProfileSave(benchmark::State& state) {
    const ScratchDirectory directory;
    CAppPaths::OverrideExecutableDirectory(directory.File(""));
    {
        CSettingProfile profile;
        profile.SetModelNumber(0);
        for (auto _ : state)
            benchmark::DoNotOptimize(profile.Save(profile.ModelName()));
    }
    CAppPaths::OverrideExecutableDirectory("");
}

void BM_RawWriteProfile(benchmark::State& state) {
    const ScratchDirectory directory;
    CAppPaths::OverrideExecutableDirectory(directory.File(""));
    std::string path;
    {
        CSettingProfile profile;
        profile.SetModelNumber(0);
        profile.Save(profile.ModelName());
        path = CSettingProfile::ProfilePath(profile.ModelName());
    }
    CAppPaths::OverrideExecutableDirectory("");
    RawReplaceLoop(state, path, FileBytes(path));
}
} // namespace

BENCHMARK(BM_WriteHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProfileSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteProfile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The same full recording as a file, for timing the command-line tool (scripts/bench-cli.sh).
    if (argc == 3 && std::string(argv[1]) == "--write-history")
        return CHistoryFile::SaveHistoryRaw(argv[2], FullHistory()) ? 0 : 1;
    return CRatioReporter::RunAll(
        argc, argv,
        {{"History write (temp + fsync + rename) vs raw write of the same bytes", "BM_WriteHistory",
          "BM_RawWriteHistory"},
         {"CSV export vs raw write of the same CSV bytes", "BM_ExportCsv", "BM_RawWriteCsv"},
         {"Settings-profile save vs one raw atomic write of the same bytes", "BM_ProfileSave",
          "BM_RawWriteProfile"}});
}
