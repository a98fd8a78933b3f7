// One measurement exchange of the engine with the virtual sensor, over a pseudo-terminal and
// over the USB pipes, each next to a bare round trip of the same bytes on the same line. The
// COM transport runs without its write pause, which would otherwise dominate every figure.
#include "CRatioReporter.h"
#include "device/CPortRegistry.h"
#include "device/CPowerDevice.h"
#include "device/CSerialDevice.h"
#include "device/CUsbDeviceVista.h"
#include "model/CSettingProfile.h"
#include "platform/CAutoResetEvent.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"
#include "protocol/CReadingReceiver.h"
#include "sim/CVirtualSensor.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

// The bare line: raw reads and writes on the pseudo-terminal, nothing else.
class CUnpausedLine : public CPowerDevice {
public:
    bool Open(int32_t port) override {
        m_fd = ::open(CPortRegistry::DevicePath(port).c_str(), O_RDWR | O_NOCTTY);
        termios settings{};
        if (m_fd < 0 || ::tcgetattr(m_fd, &settings) != 0)
            return false;
        ::cfmakeraw(&settings);
        return ::tcsetattr(m_fd, TCSANOW, &settings) == 0;
    }
    void Close() override {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool IsOpen() override { return m_fd >= 0; }
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override {
        const ssize_t done = ::write(m_fd, bytes, count);
        if (written)
            *written = done > 0 ? static_cast<uint32_t>(done) : 0;
        return done == static_cast<ssize_t>(count);
    }
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) override {
        uint32_t done = 0;
        pollfd waiting{m_fd, POLLIN, 0};
        while (done<count&& ::poll(&waiting, 1, static_cast<int>(timeoutMs))> 0) {
            const ssize_t got = ::read(m_fd, buffer + done, count - done);
            if (got <= 0)
                break;
            done += static_cast<uint32_t>(got);
        }
        if (read)
            *read = done;
        return done == count;
    }
    void CancelIo() override {}

private:
    int m_fd = -1;
};

// The bare USB pipes of the newer driver: raw reads and writes, nothing else.
class CBarePipes {
public:
    explicit CBarePipes(const std::string& device) {
        m_read = ::open((device + "/" + CUsbDeviceVista::kReadPipe).c_str(), O_RDONLY | O_NONBLOCK);
        m_write = ::open((device + "/" + CUsbDeviceVista::kWritePipe).c_str(), O_WRONLY | O_NONBLOCK);
    }
    ~CBarePipes() {
        for (const int fd : {m_read, m_write})
            if (fd >= 0)
                ::close(fd);
    }
    bool IsOpen() const { return m_read >= 0 && m_write >= 0; }
    bool RoundTrip(const uint8_t* command, std::size_t size, uint8_t* reply, std::size_t replySize) {
        if (::write(m_write, command, size) != static_cast<ssize_t>(size))
            return false;
        std::size_t done = 0;
        pollfd waiting{m_read, POLLIN, 0};
        while (done<replySize&& ::poll(&waiting, 1, 500)> 0) {
            const ssize_t got = ::read(m_read, reply + done, replySize - done);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        return done == replySize;
    }

private:
    int m_read = -1;
    int m_write = -1;
};

// Signals each request's readings once they are all handed over.
class CSignallingReceiver : public CReadingReceiver {
public:
    void OnAvgReading(int32_t state, int32_t /*value*/) override { Count(state); }
    void OnPeakReading(int32_t state, int32_t /*value*/) override { Count(state); }
    void OnRevReading(int32_t state, int32_t /*value*/) override { Count(state); }
    void EndBatch() override { m_arrived.Set(); }
    CAutoResetEvent m_arrived;
    std::atomic<int64_t> m_readings{0};

private:
    void Count(int32_t state) { m_readings += state == 1 ? 1 : 0; }
};

// The AVG & PEAK screen's request cycle for model 0.
static constexpr std::array<const char*, 3> kCycleMnemonics = {"GA", "GF", "GR"};

// A virtual sensor of model 0 on a pseudo-terminal (port > 0) or on the USB pipes (port -1),
// in private port and USB directories.
struct SBenchSensor {
    explicit SBenchSensor(bool usb = false)
        : directory(std::filesystem::temp_directory_path() /
                    ("pelmora-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(directory);
        ::setenv("PELMORA_PORTS_DIR", directory.c_str(), 1);
        ::setenv("PELMORA_USB_DIR", (directory / "usb").c_str(), 1);
        VirtualSensorConfig config;
        config.modelNumber = 0;
        sensor = std::make_unique<CVirtualSensor>(config);
        port = usb ? (sensor->StartUsb(UsbVariant::Newer) ? -1 : -2) : sensor->StartSerial();
    }
    ~SBenchSensor() {
        sensor.reset();
        std::filesystem::remove_all(directory);
    }
    std::filesystem::path directory;
    std::unique_ptr<CVirtualSensor> sensor;
    int port = -1;
};

// Exchanges through the engine: one request, one reading back; or, as the AVG & PEAK screen asks
// for them, one request for its whole cycle, three readings back.
static void EngineLoop(benchmark::State& state, bool usb, bool cycle) {
    SBenchSensor bench(usb);
    CSettingProfile profile;
    profile.SetModelNumber(0);
    CSignallingReceiver receiver;
    CMeterEngine engine;
    engine.Sinks().Set(CReadingSinks::Kind::Measurement, &receiver);
    if (!usb) {
        engine.SetTransportFactory([](int32_t) {
            auto line = std::make_unique<CSerialDevice>();
            line->SetWritePauseMs(0);
            return line;
        });
    }
    if (bench.port < -1 || (!usb && bench.port < 0) || engine.Connect(bench.port) != 0) {
        state.SkipWithError("no virtual sensor");
        return;
    }
    CMeterEngine::SRequest request{CMeterEngine::ModeAvg, 245000, 500, profile.GetModelNumber(), 0};
    if (cycle)
        request.followedBy = {CMeterEngine::ModePeak, CMeterEngine::ModeRev};
    for (auto _ : state) {
        engine.Request(request);
        receiver.m_arrived.Wait(2000);
    }
    engine.Disconnect();
    // A failed exchange is quick; only runs where every exchange brought a reading count.
    const int64_t perRequest = cycle ? static_cast<int64_t>(kCycleMnemonics.size()) : 1;
    if (receiver.m_readings.load() != perRequest * static_cast<int64_t>(state.iterations()))
        state.SkipWithError("an exchange brought no reading");
}

BENCHMARK_CAPTURE(EngineLoop, ComExchange, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EngineLoop, UsbExchange, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EngineLoop, ComCycle, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EngineLoop, UsbCycle, true, true)->Unit(benchmark::kMicrosecond);

// The first `count` commands of the cycle, each a bare round trip.
static std::vector<std::vector<uint8_t>> CycleCommands(std::size_t count) {
    std::vector<std::vector<uint8_t>> commands;
    for (std::size_t i = 0; i < count; ++i) {
        const auto command = CMeterCommand::Parameter(kCycleMnemonics[i], 245000);
        commands.emplace_back(command.begin(), command.end());
    }
    return commands;
}

static void BareFifoLoop(benchmark::State& state, std::size_t count) {
    SBenchSensor bench(true);
    CBarePipes pipes(bench.sensor->PublishedPath());
    if (bench.port != -1 || !pipes.IsOpen()) {
        state.SkipWithError("no virtual sensor");
        return;
    }
    const auto commands = CycleCommands(count);
    uint8_t reply[9];
    for (auto _ : state)
        for (const auto& command : commands)
            pipes.RoundTrip(command.data(), command.size(), reply, sizeof reply);
}

static void BarePtyLoop(benchmark::State& state, std::size_t count) {
    SBenchSensor bench;
    CUnpausedLine line;
    if (bench.port < 0 || !line.Open(bench.port)) {
        state.SkipWithError("no virtual sensor");
        return;
    }
    const auto commands = CycleCommands(count);
    uint8_t reply[9];
    for (auto _ : state) {
        for (const auto& command : commands) {
            line.Write(command.data(), static_cast<uint32_t>(command.size()), nullptr);
            line.Read(reply, sizeof reply, nullptr, 500);
        }
    }
    line.Close();
}

BENCHMARK_CAPTURE(BareFifoLoop, RoundTrip, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BarePtyLoop, RoundTrip, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BareFifoLoop, Cycle, kCycleMnemonics.size())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BarePtyLoop, Cycle, kCycleMnemonics.size())->Unit(benchmark::kMicrosecond);

// The repetitions are interleaved: the load of this shared machine changes from one second to the
// next, and an engine run and its baseline run minutes apart could meet very different conditions.
int main(int argc, char** argv) {
    return CRatioReporter::RunAll(
        argc, argv,
        {{"One USB-layer exchange through the engine vs a bare FIFO round trip", "EngineLoop/UsbExchange",
          "BareFifoLoop/RoundTrip"},
         {"One COM exchange through the engine vs a bare pty round trip (write pause off)",
          "EngineLoop/ComExchange", "BarePtyLoop/RoundTrip"},
         {"The AVG & PEAK screen's cycle (3 exchanges, one request) through the engine vs 3 bare FIFO "
          "round trips",
          "EngineLoop/UsbCycle", "BareFifoLoop/Cycle"},
         {"The AVG & PEAK screen's cycle over COM through the engine vs 3 bare pty round trips (write "
          "pause off)",
          "EngineLoop/ComCycle", "BarePtyLoop/Cycle"}},
        true);
}
