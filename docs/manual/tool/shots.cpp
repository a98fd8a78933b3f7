// Takes the manual's screenshots from the real program: it starts the application as a user
// would, connects to the virtual sensor on the COM port given, opens each screen and dialog
// and saves what it shows. scripts/manual-shots.sh runs it beside pelmora-sim.
// Usage: pelmora-manual-shots <com port> <output folder> [history.psh] [second com port]
#include "appcore/CMessageBoxSink.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CommandIds.h"
#include "gui/history/CHistoryFrame.h"
#include "gui/history/CHistoryView.h"
#include "gui/screens/CRelativeFrame.h"
#include "gui/shell/CDownloadDlg.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CPelmoraApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// Message boxes would wait for a click; their texts go to the log instead. Questions are
// answered No, so the save question before a screen switch lets the demo readings go.
class CLoggingSink : public CMessageBoxSink {
public:
    int Show(void*, const std::string& text, const std::string&, unsigned type) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        const unsigned buttons = type & MB_BUTTON_MASK;
        return buttons == MB_YESNOCANCEL || buttons == MB_YESNO ? IDNO : IDOK;
    }
};

QString s_folder;
// Dialogs that open on their own (the setting dialog of a new screen) would wait for a click;
// all but the one being photographed are closed.
bool s_dialogWanted = false;

void Wait(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void Save(QWidget* widget, const QString& name) {
    const QString path = QDir(s_folder).filePath(name + QStringLiteral(".png"));
    if (!widget || !widget->grab().save(path)) {
        std::fprintf(stderr, "could not save %s\n", qPrintable(path));
        return;
    }
    std::printf("%s\n", qPrintable(path));
    std::fflush(stdout);
}

void CloseUnwantedDialogs() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (QWidget* dialog = QApplication::activeModalWidget(); dialog && !s_dialogWanted)
            dialog->close();
    });
    timer->start(200);
}

// Runs a command that opens a modal dialog, saves the dialog and closes it.
void SaveDialogOf(CMainFrame& frame, int command, const QString& name) {
    s_dialogWanted = true;
    QTimer::singleShot(600, [name] {
        QWidget* dialog = QApplication::activeModalWidget();
        Save(dialog, name);
        if (dialog)
            dialog->close();
        s_dialogWanted = false;
    });
    frame.ExecuteCommand(command);
}

// The download dialog opens only once the sensor has reported its logging status, so it is
// waited for by its class rather than taken as whatever dialog is open.
void SaveDownloadDialog(CMainFrame& frame) {
    Wait(600); // dialogs that opened on their own are closed first
    s_dialogWanted = true;
    frame.ExecuteCommand(ID_LOGGING);
    QElapsedTimer timer;
    timer.start();
    CDownloadDlg* dialog = nullptr;
    while ((dialog = frame.findChild<CDownloadDlg*>()) == nullptr || !dialog->isVisible()) {
        if (timer.elapsed() > 10000) {
            std::fprintf(stderr, "skipped download-dialog: it did not open\n");
            s_dialogWanted = false;
            return;
        }
        Wait(100);
    }
    Wait(300);
    Save(dialog, QStringLiteral("download-dialog"));
    dialog->close();
    s_dialogWanted = false;
}

// A stretch selected in the active history viewer, then zoomed to.
void SaveRangeShots(CMainFrame& frame) {
    auto* history = qobject_cast<CHistoryFrame*>(frame.MdiArea()->activeSubWindow());
    if (history == nullptr)
        return;
    history->View()->SelectRange(8, 20);
    Wait(300);
    Save(&frame, QStringLiteral("history-range"));
    history->View()->ZoomToRange();
    Wait(300);
    Save(&frame, QStringLiteral("history-zoomed"));
    history->View()->ShowWholeHistory();
}

void SaveScreen(CMainFrame& frame, int command, const QString& name) {
    if (!frame.QueryCommand(command).enabled) {
        std::fprintf(stderr, "skipped %s: command not available\n", qPrintable(name));
        return;
    }
    frame.ExecuteCommand(command);
    Wait(300);
    frame.ExecuteCommand(ID_MEASURE_START);
    Wait(4000);
    // A screen opened alone fills the main window; the plain shot shows it as a window.
    QMdiSubWindow* child = frame.MdiArea()->activeSubWindow();
    if (child != nullptr && child->isMaximized()) {
        Save(&frame, name + QStringLiteral("-maximised"));
        child->showNormal();
        Wait(500);
    }
    Save(&frame, name);
    frame.ExecuteCommand(ID_MEASURE_STOP);
}

// A second sensor beside the first, the Relative screen between them and the remote control on.
void SaveTwoSensorShots(CMainFrame& frame, int secondPort) {
    frame.ExecuteCommand(ID_MODE_AVGPEAK); // the first sensor's readings, for the Relative screen
    Wait(300);
    frame.AddSensor(secondPort);
    for (int waited = 0; frame.FindSensorChild(1, ChildKind::Measurement) == nullptr && waited < 100;
         ++waited)
        Wait(100);
    if (frame.ConnectedSensorCount() < 2) {
        std::fprintf(stderr, "skipped relative-screen: no second sensor on COM%d\n", secondPort);
        return;
    }
    frame.ExecuteCommand(ID_REMOTE_CONTROL);
    frame.ExecuteCommand(ID_MODE_SENSOR_RELATIVE);
    auto* relative = qobject_cast<CRelativeFrame*>(frame.FindChild(ChildKind::Relative));
    if (relative == nullptr)
        return;
    relative->ChooseSensors(1, 0); // the 30 dBm input as A: the gain reads +10 dB
    relative->OnCommand(ID_MEASURE_START);
    Wait(5000);
    frame.resize(1440, 800); // room for four windows side by side
    Wait(300);
    frame.ExecuteCommand(ID_WINDOW_TILE_VERT);
    Wait(500);
    Save(&frame, QStringLiteral("relative-screen"));
    relative->OnCommand(ID_MEASURE_STOP);
    frame.ExecuteCommand(ID_REMOTE_CONTROL);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    const int port = QString::fromLocal8Bit(argv[1]).toInt();
    const QString history = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    // The program takes any argument as a history file to open; it gets none.
    int programArgc = 1;
    CPelmoraApp application(programArgc, argv);
    if (!application.InitInstance())
        return 2;
    s_folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(s_folder);
    CLoggingSink sink;
    CMessageBoxes::SetSink(&sink);
    CloseUnwantedDialogs();
    CMainFrame& frame = *application.MainFrame();
    frame.resize(1024, 720);
    Wait(300);

    Save(&frame, QStringLiteral("main-window"));
    SaveDialogOf(frame, ID_DEVICE_CONNECT, QStringLiteral("connect-dialog"));
    frame.ConnectToPort(port);
    while (frame.IsConnecting())
        Wait(100);
    if (!frame.IsConnected()) {
        std::fprintf(stderr, "no sensor on COM%d\n", port);
        return 1;
    }
    SaveScreen(frame, ID_MODE_AVGPEAK, QStringLiteral("avg-peak-screen"));
    SaveDialogOf(frame, ID_DEVICE_SETTING, QStringLiteral("setting-dialog"));
    SaveScreen(frame, ID_MODE_PULSE, QStringLiteral("pulse-screen"));
    SaveScreen(frame, ID_MODE_CCDF, QStringLiteral("ccdf-screen"));
    if (!history.isEmpty() && frame.OpenHistoryFile(history)) {
        Wait(500);
        Save(&frame, QStringLiteral("history-viewer"));
        SaveRangeShots(frame);
        SaveDialogOf(frame, ID_FILE_REPORT, QStringLiteral("report-dialog"));
    }
    if (frame.QueryCommand(ID_LOGGING).enabled)
        SaveDownloadDialog(frame);
    frame.ExecuteCommand(ID_WINDOW_CASCADE);
    Wait(300);
    Save(&frame, QStringLiteral("cascade"));
    if (argc > 4)
        SaveTwoSensorShots(frame, QString::fromLocal8Bit(argv[4]).toInt());
    QTimer::singleShot(0, &application, &QApplication::quit);
    return application.Run();
}
