#include "CRatioReporter.h"

#include <algorithm>
#include <cstdio>
#include <utility>

CRatioReporter::CRatioReporter(std::vector<RatioRow> rows) : m_rows(std::move(rows)) {}

void CRatioReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
            m_seconds[run.run_name.str()].push_back(run.real_accumulated_time /
                                                    static_cast<double>(run.iterations));
        if (run.repetitions <= 1 || run.run_type == Run::RT_Aggregate)
            shown.push_back(run);
    }
    if (!shown.empty())
        ConsoleReporter::ReportRuns(shown);
}

double CRatioReporter::Median(const std::string& name) const {
    const auto found = m_seconds.find(name);
    if (found == m_seconds.end() || found->second.empty())
        return 0.0;
    std::vector<double> values = found->second;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

void CRatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const RatioRow& row : m_rows) {
        const double measured = Median(row.measured);
        const double baseline = Median(row.baseline);
        if (measured <= 0.0 || baseline <= 0.0)
            continue; // filtered out or failed
        std::printf("ratio | %s | %.2f | %.1f us | %.1f us\n", row.title.c_str(), measured / baseline,
                    measured * 1e6, baseline * 1e6);
    }
    std::fflush(stdout);
}

int CRatioReporter::RunAll(int argc, char** argv, std::vector<RatioRow> rows) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter(std::move(rows));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
