#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/CSimOptions.h"

namespace {
std::string Location(const CSimOptions& options, int comNumber, const CVirtualSensor& sensor) {
    if (options.usb)
        return "USB " + sensor.PublishedPath();
    return "COM" + std::to_string(comNumber);
}

// Blocked before any thread starts, so only sigwait sees them and cleanup always runs.
sigset_t BlockStopSignals() {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    return stopSignals;
}
} // namespace

int main(int argc, char** argv) {
    CSimOptions options;
    std::string error;
    if (!options.Parse(std::vector<std::string>(argv + 1, argv + argc), error)) {
        std::fprintf(stderr, "pelmora-sim: %s\n%s", error.c_str(), CSimOptions::Usage().c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CSimOptions::Usage().c_str(), stdout);
        return 0;
    }
    const sigset_t stopSignals = BlockStopSignals();
    CVirtualSensor sensor(options.config);
    const int comNumber = options.usb ? 0 : sensor.StartSerial(options.comNumber);
    const bool started = options.usb ? sensor.StartUsb(options.usbVariant) : comNumber > 0;
    if (!started) {
        std::fprintf(stderr, "pelmora-sim: %s\n", sensor.LastError().c_str());
        return 1;
    }
    const auto& config = options.config;
    std::printf("Virtual sensor model %d (code %d, serial %d, firmware %d) on %s\n", sensor.ModelNumber(),
                sensor.IdentificationCode(), config.serialNumber, config.firmwareVersion,
                Location(options, comNumber, sensor).c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    sensor.Stop();
    return 0;
}
