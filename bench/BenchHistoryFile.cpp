#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <stdlib.h>
#include <string>
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

void BM_WriteHistory(benchmark::State& state) {
    const ScratchDirectory directory;
    const CHistoryData data = FullHistory();
    const std::string path = directory.File("bench.psh");
    for (auto _ : state)
        benchmark::DoNotOptimize(CHistoryFile::SaveHistoryRaw(path, data));
    state.SetBytesProcessed(state.iterations() * (216 + int64_t(kRows) * 20));
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
} // namespace

BENCHMARK(BM_WriteHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
