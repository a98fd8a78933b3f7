// One measurement exchange of the engine with the virtual sensor over a pseudo-terminal, next
// to a bare round trip of the same bytes on the same line. The COM transport runs without its
// write pause, which would otherwise dominate every figure.
#include "device/CPortRegistry.h"
#include "device/CPowerDevice.h"
#include "device/CSerialDevice.h"
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

#include <chrono>
#include <cstdlib>
#include <filesystem>

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

class CSignallingReceiver : public CReadingReceiver {
public:
    void OnAvgReading(int32_t /*state*/, int32_t /*value*/) override { m_arrived.Set(); }
    CAutoResetEvent m_arrived;
};

// A virtual sensor of model 0 on a pseudo-terminal, in a private ports directory.
struct SBenchSensor {
    SBenchSensor()
        : directory(std::filesystem::temp_directory_path() /
                    ("pelmora-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(directory);
        ::setenv("PELMORA_PORTS_DIR", directory.c_str(), 1);
        VirtualSensorConfig config;
        config.modelNumber = 0;
        sensor = std::make_unique<CVirtualSensor>(config);
        port = sensor->StartSerial();
    }
    ~SBenchSensor() {
        sensor.reset();
        std::filesystem::remove_all(directory);
    }
    std::filesystem::path directory;
    std::unique_ptr<CVirtualSensor> sensor;
    int port = -1;
};

static void BM_EngineExchange(benchmark::State& state) {
    SBenchSensor bench;
    CSettingProfile profile;
    profile.SetModelNumber(0);
    CSignallingReceiver receiver;
    CMeterEngine engine;
    engine.Sinks().Set(CReadingSinks::Kind::Measurement, &receiver);
    engine.SetTransportFactory([](int32_t) {
        auto line = std::make_unique<CSerialDevice>();
        line->SetWritePauseMs(0);
        return line;
    });
    if (bench.port < 0 || engine.Connect(bench.port) != 0) {
        state.SkipWithError("no virtual sensor");
        return;
    }
    for (auto _ : state) {
        engine.Request({CMeterEngine::ModeAvg, 245000, 500, profile.GetModelNumber(), 0});
        receiver.m_arrived.Wait(2000);
    }
    engine.Disconnect();
}
BENCHMARK(BM_EngineExchange)->Unit(benchmark::kMicrosecond);

static void BM_BarePtyRoundTrip(benchmark::State& state) {
    SBenchSensor bench;
    CUnpausedLine line;
    if (bench.port < 0 || !line.Open(bench.port)) {
        state.SkipWithError("no virtual sensor");
        return;
    }
    const auto command = CMeterCommand::Parameter("GA", 245000);
    uint8_t reply[9];
    for (auto _ : state) {
        line.Write(command.data(), command.size(), nullptr);
        line.Read(reply, sizeof reply, nullptr, 500);
    }
    line.Close();
}
BENCHMARK(BM_BarePtyRoundTrip)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
