#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// A row of the performance table: a path measured against its baseline, both named by their
// benchmark names (e.g. "BM_EngineExchange").
struct RatioRow {
    std::string title;
    std::string measured;
    std::string baseline;
};

// Prints the runs as the console does (only the aggregates when runs repeat), keeps the median
// real time of every benchmark and, at the end, one "ratio" line per row:
//   ratio | <title> | <measured / baseline> | <measured time> | <baseline time>
// with "missing" in place of a figure that was filtered out or failed.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    explicit CRatioReporter(std::vector<RatioRow> rows);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

    // Initialises the library, runs the benchmarks the command line selects and prints the rows.
    // Interleaved: the repetitions of the benchmarks take turns, so that a path and its baseline
    // meet the same load of this shared machine.
    static int RunAll(int argc, char** argv, std::vector<RatioRow> rows, bool interleaved = false);

private:
    double Median(const std::string& name) const;
    static std::string Figure(double seconds);

    std::vector<RatioRow> m_rows;
    std::map<std::string, std::vector<double>> m_seconds; // per iteration, one entry per repetition
};
