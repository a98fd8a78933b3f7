// The window as a user runs it. Without arguments: start-up to the main window shown, against a
// minimal Qt main window and against one of the same size with a menu and a status text (what
// any window with text needs first: the font set), each in a fresh process. With "--drive usb|idle" it stays
// up for scripts/cpu-usage.sh: connected over USB with the AVG & PEAK screen measuring, or with the screen
// open and stopped; it prints "ready" once there and then the readings recorded so far once a second.
// "--drive usb 5,6" adds the sensors on COM5 and COM6 (their line without its write pause, so that
// each measures at the pace of the USB one), every one measuring on its own screen.
#include "CRatioReporter.h"
#include "appcore/CMessageBoxSink.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CScreenController.h"
#include "appcore/CommandIds.h"
#include "device/CSerialDevice.h"
#include "gui/screens/CScreenFrame.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CPelmoraApp.h"
#include "model/CSettingProfile.h"
#include "protocol/CMeterEngine.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Message boxes would wait for a click; their texts go to the log instead.
class CLoggingSink : public CMessageBoxSink {
public:
    int Show(void*, const std::string& text, const std::string&, unsigned) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return IDOK;
    }
};

void Wait(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Tells the parent through `fd` and ends without teardown.
[[noreturn]] void ReportShown(int fd) {
    const char shown = 1;
    (void)!::write(fd, &shown, 1);
    ::_exit(0);
}

// Catches the window's first exposure and reports once it has been handled, its first paint
// included, so that what the event loop does next is not counted.
class CExposeReporter : public QObject {
public:
    explicit CExposeReporter(int fd) : m_fd(fd) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Expose)
            return false;
        watched->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);
        if (static_cast<QWindow*>(watched)->isExposed())
            ReportShown(m_fd);
        watched->installEventFilter(this);
        return true;
    }

private:
    int m_fd;
};

// Called once the window was asked to show.
void ReportWhenShown(QWidget& window, int fd) {
    QWindow* handle = window.windowHandle();
    if (handle != nullptr && handle->isExposed())
        ReportShown(fd);
    CExposeReporter reporter(fd);
    if (handle != nullptr)
        handle->installEventFilter(&reporter);
    for (;;)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int ProbeStart(char** argv, const char* kind, int fd) {
    int programArgc = 1; // the program takes any argument as a history file
    if (std::strcmp(kind, "full") == 0) {
        CPelmoraApp application(programArgc, argv);
        if (!application.InitInstance())
            return 2;
        ReportWhenShown(*application.MainFrame(), fd);
    }
    QApplication application(programArgc, argv);
    QMainWindow window;
    if (std::strcmp(kind, "text") == 0) {
        window.menuBar()->addMenu(QStringLiteral("&File"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
        window.resize(1024, 720);
    }
    window.show();
    ReportWhenShown(window, fd);
    return 0;
}

// The COM ports of a "5,6" list.
std::vector<int> PortsOf(const char* list) {
    std::vector<int> ports;
    for (const char* at = list; at != nullptr && *at != '\0';) {
        ports.push_back(std::atoi(at));
        at = std::strchr(at, ',');
        at = at != nullptr ? at + 1 : nullptr;
    }
    return ports;
}

// The added sensors, each measuring on its own screen; false when one did not come.
bool AddSensors(CMainFrame& frame, const std::vector<int>& ports,
                std::vector<std::unique_ptr<CMeterEngine>>& engines) {
    frame.SetLinkFactory([&engines] {
        engines.push_back(std::make_unique<CMeterEngine>());
        engines.back()->SetTransportFactory([](int32_t) {
            auto line = std::make_unique<CSerialDevice>();
            line->SetWritePauseMs(0);
            return line;
        });
        return std::make_unique<CEngineMeterLink>(*engines.back());
    });
    for (size_t index = 0; index < ports.size(); ++index) {
        frame.AddSensor(ports[index]);
        const int sensor = static_cast<int>(index) + 1;
        for (int wait = 0; wait < 100 && frame.FindSensorChild(sensor, ChildKind::Measurement) == nullptr;
             ++wait)
            Wait(50);
        auto* screen = qobject_cast<CScreenFrame*>(frame.FindSensorChild(sensor, ChildKind::Measurement));
        if (screen == nullptr) {
            std::fprintf(stderr, "no sensor on COM%d\n", ports[index]);
            return false;
        }
        screen->OnCommand(ID_MEASURE_START);
    }
    return true;
}

int Drive(char** argv, bool measuring, const std::vector<int>& comPorts) {
    std::vector<std::unique_ptr<CMeterEngine>> engines; // of the added sensors; outlive the window
    int programArgc = 1;
    CPelmoraApp application(programArgc, argv);
    if (!application.InitInstance())
        return 2;
    CLoggingSink sink;
    CMessageBoxes::SetSink(&sink);
    CMainFrame& frame = *application.MainFrame();
    frame.resize(1024, 720);
    frame.ConnectToPort(-1);
    while (frame.IsConnecting())
        Wait(50);
    if (!frame.IsConnected()) {
        std::fprintf(stderr, "no sensor on USB\n");
        return 1;
    }
    frame.ExecuteCommand(ID_MODE_AVGPEAK);
    Wait(300);
    const QPointer<CScreenFrame> screen =
        qobject_cast<CScreenFrame*>(frame.FindChild(ChildKind::Measurement));
    if (screen == nullptr) {
        std::fprintf(stderr, "no AVG & PEAK screen\n");
        return 1;
    }
    if (measuring)
        frame.ExecuteCommand(ID_MEASURE_START);
    if (!AddSensors(frame, comPorts, engines))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    // Once a second, the readings recorded so far, for the reading rate.
    QTimer counter;
    QObject::connect(&counter, &QTimer::timeout, [&frame, sensors = comPorts.size() + 1] {
        int readings = 0;
        for (size_t sensor = 0; sensor < sensors; ++sensor) {
            const auto* sensorScreen = qobject_cast<const CScreenFrame*>(
                frame.FindSensorChild(static_cast<int>(sensor), ChildKind::Measurement));
            if (sensorScreen == nullptr)
                continue;
            const CRecordStore& records = sensorScreen->Controller().Recording().Records();
            readings += records.Count(ChannelAvg) + records.Count(ChannelPeak) + records.Count(ChannelRev);
        }
        std::printf("readings %d\n", readings);
        std::fflush(stdout);
    });
    counter.start(1000);
    return application.Run();
}

// Spawns this program as a start-up probe and times it until the window is shown.
void StartLoop(benchmark::State& state, const char* kind) {
    char fdText[16];
    char self[] = "/proc/self/exe";
    for (auto _ : state) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        std::snprintf(fdText, sizeof fdText, "%d", pipeFds[1]);
        char probe[] = "--probe-start";
        char* arguments[] = {self, probe, const_cast<char*>(kind), fdText, nullptr};
        pid_t child = -1;
        const bool spawned = ::posix_spawn(&child, self, nullptr, nullptr, arguments, environ) == 0;
        ::close(pipeFds[1]);
        char shown = 0;
        const bool ok = spawned && ::read(pipeFds[0], &shown, 1) == 1;
        state.PauseTiming();
        ::close(pipeFds[0]);
        if (spawned)
            ::waitpid(child, nullptr, 0);
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the probe did not show its window");
            return;
        }
    }
}

void BM_StartMainWindow(benchmark::State& state) {
    StartLoop(state, "full");
}

void BM_StartMinimalWindow(benchmark::State& state) {
    StartLoop(state, "minimal");
}

void BM_StartTextWindow(benchmark::State& state) {
    StartLoop(state, "text");
}

} // namespace

BENCHMARK(BM_StartMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartMinimalWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_StartTextWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--probe-start") == 0)
        return ProbeStart(argv, argv[2], std::atoi(argv[3]));
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--drive") == 0)
        return Drive(argv, std::strcmp(argv[2], "usb") == 0, PortsOf(argc == 4 ? argv[3] : nullptr));
    return CRatioReporter::RunAll(
        argc, argv,
        {{"Start to main window shown vs a minimal Qt main window", "BM_StartMainWindow",
          "BM_StartMinimalWindow"},
         {"Start to main window shown vs a Qt main window with a menu and a status text",
          "BM_StartMainWindow", "BM_StartTextWindow"}},
        true);
}
