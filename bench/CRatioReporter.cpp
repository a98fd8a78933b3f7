#include "CRatioReporter.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {

// The name a row refers to: the function and its arguments, without what the registration adds
// (e.g. "/iterations:10").
std::string RowName(const benchmark::BenchmarkName& name) {
    return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

} // namespace

// Colours only on a terminal, so logs and the rows scripts read stay plain.
CRatioReporter::CRatioReporter(std::vector<RatioRow> rows)
    : ConsoleReporter(::isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular), m_rows(std::move(rows)) {}

void CRatioReporter::ReportRuns(const std::vector<Run>& runs) {
    std::vector<Run> shown;
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0)
            m_seconds[RowName(run.run_name)].push_back(run.real_accumulated_time /
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

std::string CRatioReporter::Figure(double seconds) {
    if (seconds <= 0.0)
        return "missing";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    return text;
}

void CRatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    for (const RatioRow& row : m_rows) {
        const double measured = Median(row.measured);
        const double baseline = Median(row.baseline);
        // A row filtered out or failed still shows, marked as missing.
        char ratio[32] = "missing";
        if (measured > 0.0 && baseline > 0.0)
            std::snprintf(ratio, sizeof ratio, "%.3g", measured / baseline);
        std::printf("ratio | %s | %s | %s | %s\n", row.title.c_str(), ratio, Figure(measured).c_str(),
                    Figure(baseline).c_str());
    }
    std::fflush(stdout);
}

int CRatioReporter::RunAll(int argc, char** argv, std::vector<RatioRow> rows, bool interleaved) {
    std::vector<char*> arguments(argv, argv + argc + 1); // with argv's closing null
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    if (interleaved)
        arguments.insert(arguments.begin() + 1, interleave);
    argc = static_cast<int>(arguments.size() - 1);
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter(std::move(rows));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
