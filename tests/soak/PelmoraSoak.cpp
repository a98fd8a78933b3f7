// pelmora-soak MINUTES FOLDER: the real main window and screens (offscreen) against a virtual
// sensor whose faults rotate and which comes back on COM and USB in turn, driven as fast as the
// screens ask: AVG & PEAK, PULSE and CCDF in turn with Start, Stop and Reset, screen switches,
// Disconnect and Connect, and a history saved every minute into FOLDER. Ends with a table; exits
// non-zero when a saved history does not read back or the sensor could not be reached again.
#include "support/CAppTestSandbox.h"
#include "support/RunUntil.h"

#include "appcore/CommandIds.h"
#include "gui/screens/CCcdfFrame.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "protocol/CMeterEngine.h"
#include "sim/CVirtualSensor.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr qint64 kPhaseMs = 8000;
constexpr qint64 kSaveEveryMs = 60000;
constexpr int kConnectLimitMs = 20000;

const FaultSetting kFaultRotation[] = {
    {SensorFault::None, -1},    {SensorFault::Silence, 0},    {SensorFault::None, -1},
    {SensorFault::Garbage, -1}, {SensorFault::Split, 5},      {SensorFault::CorruptByte, -1},
    {SensorFault::None, -1},    {SensorFault::WrongHead, -1}, {SensorFault::Disconnect, 20},
};
const int kScreens[] = {ID_MODE_AVGPEAK, ID_MODE_PULSE, ID_MODE_CCDF};

struct Totals {
    uint64_t reconnects = 0;
    uint64_t failedReconnects = 0;
    int saveAttempts = 0;
    std::vector<std::string> saved;
    int readBack = 0;
};

void RunFor(qint64 ms) {
    RunUntil([] { return false; }, ms);
}

class CSoak {
public:
    CSoak(std::string folder) : m_folder(std::move(folder)) {
        ::setenv("PELMORA_PORTS_DIR", m_sandbox.Path("ports").c_str(), 1);
        ::setenv("PELMORA_USB_DIR", m_sandbox.Path("usb").c_str(), 1);
        m_sandbox.Messages().answer = IDNO; // never "save first": that would open a file dialog
    }

    bool Start() {
        m_port = m_sensor.StartSerial();
        if (m_port <= 0 || !m_frame.Create(QString()))
            return false;
        m_frame.show();
        return Connect();
    }

    void Run(qint64 minutes) {
        QElapsedTimer elapsed;
        elapsed.start();
        qint64 nextSave = kSaveEveryMs;
        for (int phase = 0; elapsed.elapsed() < minutes * 60000; ++phase) {
            const FaultSetting fault = kFaultRotation[phase % std::size(kFaultRotation)];
            m_sensor.SetFault(fault);
            if (phase % 2 == 0)
                m_frame.ExecuteCommand(kScreens[(phase / 2) % std::size(kScreens)]);
            Measure(phase);
            if (fault.kind == SensorFault::Disconnect)
                Reconnect();
            else if (phase % 5 == 4)
                DisconnectAndConnect();
            if (elapsed.elapsed() >= nextSave) {
                Save();
                nextSave += kSaveEveryMs;
            }
        }
        m_frame.ExecuteCommand(ID_MEASURE_STOP);
        m_sensor.SetFault({});
    }

    // Every saved history must read back with its rows.
    bool Finish() {
        for (const std::string& path : m_totals.saved) {
            CHistoryData data;
            m_totals.readBack += CHistoryFile::LoadHistory(path, data).ok ? 1 : 0;
        }
        std::printf("\nsoak table\n"
                    "  exchanges (commands to the sensor) %llu\n"
                    "  failed exchanges seen             %llu\n"
                    "  reconnects                        %llu (failed %llu)\n"
                    "  histories saved                   %zu of %d\n"
                    "  histories read back               %d\n",
                    static_cast<unsigned long long>(m_sensor.CommandsReceived()),
                    static_cast<unsigned long long>(m_engine.GetFailedExchangeCount()),
                    static_cast<unsigned long long>(m_totals.reconnects),
                    static_cast<unsigned long long>(m_totals.failedReconnects), m_totals.saved.size(),
                    m_totals.saveAttempts, m_totals.readBack);
        m_engine.Disconnect();
        return m_totals.readBack == static_cast<int>(m_totals.saved.size()) && m_totals.failedReconnects == 0;
    }

private:
    bool Connect() {
        m_frame.ConnectToPort(m_usb ? -1 : m_port);
        return RunUntil([this] { return !m_frame.IsConnecting(); }, kConnectLimitMs) && m_frame.IsConnected();
    }

    // Start, Stop and Start again, and every third phase a Reset (its question answered yes).
    void Measure(int phase) {
        m_frame.ExecuteCommand(ID_MEASURE_START);
        RunFor(kPhaseMs / 2);
        m_frame.ExecuteCommand(ID_MEASURE_STOP);
        RunFor(100);
        if (phase % 3 == 0) {
            m_sandbox.Messages().answer = IDYES;
            m_frame.ExecuteCommand(ID_MEASURE_RESET);
            m_sandbox.Messages().answer = IDNO;
        }
        m_frame.ExecuteCommand(ID_MEASURE_START);
        RunFor(kPhaseMs / 2);
    }

    // The sensor dropped its link: it comes back, on the other transport (the COM port paces
    // every exchange, USB does not), and is connected again.
    void Reconnect() {
        m_frame.ExecuteCommand(ID_DEVICE_DISCONNECT);
        m_sensor.Stop();
        m_sensor.SetFault({});
        m_usb = !m_usb;
        const bool back =
            m_usb ? m_sensor.StartUsb(UsbVariant::Newer) : m_sensor.StartSerial(m_port) == m_port;
        if (!back)
            std::fprintf(stderr, "pelmora-soak: the sensor did not come back: %s\n",
                         m_sensor.LastError().c_str());
        CountConnect();
    }

    // Between two phases, so with the fault switched off: a connect must succeed then.
    void DisconnectAndConnect() {
        m_sensor.SetFault({});
        m_frame.ExecuteCommand(ID_DEVICE_DISCONNECT);
        RunFor(100);
        CountConnect();
    }

    void CountConnect() {
        ++m_totals.reconnects;
        if (Connect())
            return;
        ++m_totals.failedReconnects;
        std::fprintf(stderr, "pelmora-soak: no connection over %s\n", m_usb ? "USB" : "COM");
    }

    void Save() {
        auto* screen = dynamic_cast<CScreenFrame*>(m_frame.ActiveChild());
        if (!screen || dynamic_cast<CCcdfFrame*>(screen))
            return; // the CCDF screen keeps no history
        const std::string path = m_folder + "/soak-" + std::to_string(m_totals.saved.size() + 1) + ".psh";
        ++m_totals.saveAttempts;
        if (screen->SaveHistoryTo(QString::fromStdString(path)))
            m_totals.saved.push_back(path);
    }

    std::string m_folder;
    CAppTestSandbox m_sandbox;
    CVirtualSensor m_sensor{VirtualSensorConfig{}};
    CMeterEngine m_engine;
    CMainFrame m_frame{std::make_unique<CEngineMeterLink>(m_engine)};
    int m_port = -1;
    bool m_usb = false;
    Totals m_totals;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const qint64 minutes = argc > 1 ? std::atoll(argv[1]) : 10;
    const std::string folder = argc > 2 ? argv[2] : "/tmp/pelmora-soak";
    CSoak soak(folder);
    if (!soak.Start()) {
        std::fprintf(stderr, "pelmora-soak: the virtual sensor could not be connected\n");
        return 1;
    }
    soak.Run(minutes);
    return soak.Finish() ? 0 : 1;
}
