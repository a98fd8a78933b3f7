// Every fault the virtual sensor can play, on both transports, against every kind of exchange
// the command-line tool makes: each run ends in time, by itself, with either correct data or a
// non-zero exit and a message that names the failure.
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/HistoryChannel.h"

#include "support/CChildProcess.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

constexpr int kRunLimitMs = 30000;
constexpr int kParallelRuns = 6;
constexpr int kIdentifyReplies = 3;
constexpr int kLoggingStartReplies = kIdentifyReplies + 11;

enum class Operation { Identify, Measure, Record, Histogram, Logging };

struct FaultCase {
    std::string fault;
    std::string reason; // named by a failed run; empty: the run must succeed
};

const FaultCase kFaults[] = {
    {"silence", "the sensor does not answer"},
    {"garbage", "the sensor's replies are garbled"},
    {"split", ""},
    {"corrupt", "the sensor's replies are garbled"},
    {"wrong-head", "the sensor's replies are garbled"},
    {"disconnect", "the port is gone"},
};

struct MatrixRun {
    FaultCase fault;
    bool usb = false;
    Operation operation = Operation::Identify;
    std::string report; // empty when the run behaved
};

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

const char* Name(Operation operation) {
    static const char* const kNames[] = {"identify", "measure", "record", "histogram", "logging"};
    return kNames[static_cast<int>(operation)];
}

// Replies the fault lets through, so that it strikes the operation's own reply rather than the
// identification (the logging run starts the logger first, then downloads under the fault).
int UnharmedReplies(Operation operation) {
    switch (operation) {
    case Operation::Identify:
        return 0;
    case Operation::Histogram:
        return kIdentifyReplies + 1; // the frequency is acknowledged, the histogram is struck
    case Operation::Logging:
        return kLoggingStartReplies + kIdentifyReplies + 1; // after the status, the download
    default:
        return kIdentifyReplies;
    }
}

class CFaultRun {
public:
    explicit CFaultRun(const MatrixRun& run) : m_run(run) {
        m_environment = {{"PELMORA_PORTS_DIR", m_directory.File("ports")},
                         {"PELMORA_USB_DIR", m_directory.File("usb")},
                         {"HOME", m_directory.Path()},
                         {"XDG_CONFIG_HOME", m_directory.File("config")},
                         {"XDG_DATA_HOME", m_directory.File("data")}};
    }

    std::string Execute() {
        // Model 5 is the one that logs on its own; model 0 answers with plain short replies.
        const std::string model = m_run.operation == Operation::Logging ? "5" : "0";
        std::vector<std::string> sim = {"--model",       model,
                                        "--log-speed",   "0",
                                        "--fault",       m_run.fault.fault,
                                        "--fault-after", std::to_string(UnharmedReplies(m_run.operation))};
        sim.insert(sim.end(), m_run.usb ? std::initializer_list<std::string>{"--usb"}
                                        : std::initializer_list<std::string>{"--port", "5"});
        if (!m_sensor.Start(PELMORA_SIM, sim, m_environment, m_directory.File("sim.out"),
                            m_directory.File("sim.err")) ||
            !SensorPublished())
            return "the virtual sensor did not start: " + ReadFile(m_directory.File("sim.err"));
        std::string report = Operate();
        m_sensor.Signal(SIGTERM);
        if (!m_sensor.Wait(kRunLimitMs) || m_sensor.ExitCode() != 0)
            report += " the virtual sensor did not stop cleanly;";
        return report;
    }

private:
    bool SensorPublished() {
        for (int waited = 0; waited < 5000; waited += 10) {
            if (ReadFile(m_directory.File("sim.out")).find("Virtual sensor") != std::string::npos)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    std::string Port() const { return m_run.usb ? "usb" : "5"; }

    std::string Operate() {
        const std::string out = m_directory.File("out.psh");
        switch (m_run.operation) {
        case Operation::Identify:
            return Judge(Cli({"identify", "--port", Port()}), [](const std::string& text) {
                return Contains(text, "model 0 ") && Contains(text, "serial 10001");
            });
        case Operation::Measure:
            return Judge(
                Cli({"measure", "--port", Port(), "--mode", "avg", "--count", "3", "--freq", "2400"}),
                [](const std::string& text) { return ReadingsNear(text, 3, 4000); });
        case Operation::Record:
            return Judge(Cli({"record", "--port", Port(), "--count", "3", "--out", out}),
                         [out](const std::string&) { return HistoryNear(out, 3, 40.0); });
        case Operation::Histogram:
            return Judge(Cli({"histogram", "--port", Port(), "--freq", "2400"}), HistogramHasSamples);
        case Operation::Logging:
            if (const std::string started = Cli({"logging", "start", "--port", Port(), "--interval", "20",
                                                 "--runtime", "4", "--channels", "avg,peak"});
                !started.empty())
                return "logging start before the fault: " + started;
            return Judge(Cli({"logging", "download", "--port", Port(), "--out", out}),
                         [out](const std::string&) { return HistoryNear(out, 12, 40.0); });
        }
        return "unknown operation";
    }

    // Runs the tool; empty when it exited 0 in time, else what went wrong.
    std::string Cli(const std::vector<std::string>& arguments) {
        CChildProcess cli;
        if (!cli.Start(PELMORA_CLI, arguments, m_environment, m_directory.File("cli.out"),
                       m_directory.File("cli.err")))
            return "pelmora-cli did not start";
        if (!cli.Wait(kRunLimitMs))
            return "pelmora-cli still ran after " + std::to_string(kRunLimitMs) + " ms";
        if (cli.TermSignal() != 0)
            return "pelmora-cli ended by signal " + std::to_string(cli.TermSignal());
        m_exitCode = cli.ExitCode();
        return m_exitCode == 0
                   ? ""
                   : "exit " + std::to_string(m_exitCode) + ": " + ReadFile(m_directory.File("cli.err"));
    }

    // A run that reports success must have delivered correct data (a fault the protocol cannot
    // see, such as a flipped byte no reader looks at, may leave it intact); one that fails must
    // say why in the fault's own words.
    template <typename Check> std::string Judge(const std::string& ended, Check correct) {
        const std::string out = ReadFile(m_directory.File("cli.out"));
        const std::string err = ReadFile(m_directory.File("cli.err"));
        if (ended.empty())
            return correct(out) ? "" : "success reported with wrong data: " + out;
        if (m_run.fault.reason.empty() || m_exitCode <= 0)
            return "expected correct data, got " + ended;
        const bool named = err.starts_with("pelmora-cli: ") && Contains(err, m_run.fault.reason);
        return named ? "" : "unclear failure: " + err;
    }

    static bool Contains(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    static bool ReadingsNear(const std::string& text, int count, int raw) {
        std::istringstream lines(text);
        int state = 0;
        int value = 0;
        int seen = 0;
        while (lines >> state >> value) {
            if (state != 1 || std::abs(value - raw) > 100)
                return false;
            ++seen;
        }
        return seen == count;
    }

    static bool HistogramHasSamples(const std::string& text) {
        std::istringstream lines(text);
        long key = 0;
        long count = 0;
        long total = 0;
        while (lines >> key >> count) {
            if (count < 0)
                return false;
            total += count;
        }
        return total > 0;
    }

    static bool HistoryNear(const std::string& path, int rows, double avgDbm) {
        CHistoryData data;
        if (!CHistoryFile::LoadHistory(path, data).ok || data.RowCount() != rows)
            return false;
        for (int row = 0; row < rows; ++row) {
            if (std::abs(data.Value(row, ChannelAvg) - avgDbm) > 0.5)
                return false;
        }
        return true;
    }

    MatrixRun m_run;
    CTempDirectory m_directory;
    std::map<std::string, std::string> m_environment;
    CChildProcess m_sensor;
    int m_exitCode = -1;
};

} // namespace

TEST(CliFaultMatrixTest, EveryFaultEndsInCorrectDataOrANamedFailure) {
    std::vector<MatrixRun> runs;
    for (const FaultCase& fault : kFaults) {
        for (bool usb : {false, true}) {
            for (Operation operation : {Operation::Identify, Operation::Measure, Operation::Record,
                                        Operation::Histogram, Operation::Logging})
                runs.push_back({fault, usb, operation, {}});
        }
    }
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (int i = 0; i < kParallelRuns; ++i) {
        workers.emplace_back([&] {
            for (size_t index = next++; index < runs.size(); index = next++)
                runs[index].report = CFaultRun(runs[index]).Execute();
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    for (const MatrixRun& run : runs)
        EXPECT_EQ(run.report, "") << run.fault.fault << (run.usb ? " usb " : " com ") << Name(run.operation);
}
