#include "cli/CCliServeCommand.h"

#include "cli/CCliOptions.h"
#include "cli/CCliSensor.h"

#include "appcore/CEngineScpiInstrument.h"
#include "appcore/CScpiServer.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterEngine.h"

#include <chrono>
#include <csignal>
#include <ostream>
#include <thread>

namespace {

// How often the command looks at the stop flag and the link.
constexpr int kWatchMs = 100;

volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void RequestStop(int /*signal*/) {
    g_stopRequested = 1;
}

// Installs the stop handlers for its lifetime; the ones before come back afterwards.
class CStopSignals {
public:
    CStopSignals() {
        g_stopRequested = 0;
        m_interrupt = std::signal(SIGINT, RequestStop);
        m_terminate = std::signal(SIGTERM, RequestStop);
    }
    ~CStopSignals() {
        std::signal(SIGINT, m_interrupt);
        std::signal(SIGTERM, m_terminate);
    }
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

private:
    void (*m_interrupt)(int) = nullptr;
    void (*m_terminate)(int) = nullptr;
};

} // namespace

std::vector<CliCommand> CCliServeCommand::Commands() {
    return {{{"serve"},
             "--port N|usb [--listen ADDRESS:PORT]",
             "Serve the sensor as an SCPI instrument over TCP (default 127.0.0.1:5025), one client at a "
             "time, until interrupted; a lost sensor is reconnected. See docs/REMOTE.md.",
             2,
             4,
             Serve}};
}

bool CCliServeCommand::ParseListen(const std::string& text, std::string& address, uint16_t& port) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos)
        return false;
    int number = 0;
    if (!CCliOptions::ParseNumber(text.substr(colon + 1), 1, 65535, number))
        return false;
    const std::string host = text.substr(0, colon);
    int parts = 0;
    size_t start = 0;
    for (size_t dot = 0; dot != std::string::npos; start = dot + 1) {
        dot = host.find('.', start);
        int octet = 0;
        if (!CCliOptions::ParseNumber(host.substr(start, dot - start), 0, 255, octet) || host[start] == '+' ||
            host[start] == '-')
            return false;
        ++parts;
    }
    if (parts != 4)
        return false;
    address = host;
    port = static_cast<uint16_t>(number);
    return true;
}

int CCliServeCommand::Serve(const CliContext& context) {
    CCliOptions::Values options;
    if (!CCliOptions::Parse(context, {"port", "listen"}, options))
        return 2;
    std::string address = kDefaultAddress;
    uint16_t port = kDefaultPort;
    if (options.count("listen") && !ParseListen(options["listen"], address, port))
        return CCliOptions::Fail(context, "bad --listen '" + options["listen"] +
                                              "' (an IPv4 address and a port, such as 127.0.0.1:5025)");
    CCliSensor sensor;
    if (!sensor.Open(context, options))
        return 1;
    CMeterEngine& engine = sensor.Engine();
    engine.SetAutoReconnect(true);
    CEngineScpiInstrument instrument(
        engine, CEngineScpiInstrument::SetupOf(sensor.Profile(), engine.GetIdentificationCode()));
    CScpiServer server(instrument, [&context](const std::string& peer) {
        context.out << (peer.empty() ? "client left" : "client " + peer + " connected") << "\n" << std::flush;
    });
    const CStopSignals signals;
    std::string error;
    if (!server.Start(address, port, error))
        return CCliOptions::Fail(context,
                                 "cannot listen on " + address + ":" + std::to_string(port) + ": " + error);
    context.out << "serving " << sensor.Profile().ModelName() << " " << sensor.Profile().GetSerialText()
                << " on " << address << ":" << server.Port() << "; Ctrl+C stops\n"
                << std::flush;
    bool lost = false;
    while (g_stopRequested == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kWatchMs));
        if (engine.IsLinkLost() != lost) {
            lost = !lost;
            context.out << (lost ? "sensor lost; reconnecting" : "sensor back") << "\n" << std::flush;
        }
    }
    server.Stop();
    context.out << "stopped\n";
    return 0;
}
