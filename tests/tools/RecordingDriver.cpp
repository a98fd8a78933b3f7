// Runs the program as a user would for a recording, for scripts/crash-test.sh: the question
// about a recording left unsaved by an earlier run is answered yes, then the AVG & PEAK screen
// is opened on the port given, its setting dialog closed and Start pressed; "recording" is
// printed, and the program measures until it is killed.
#include "appcore/CMessageBoxSink.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CommandIds.h"
#include "gui/shell/CMainFrame.h"
#include "gui/shell/CPelmoraApp.h"

#include <QDialog>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CYesSink : public CMessageBoxSink {
public:
    int Show(void* /*owner*/, const std::string& text, const std::string& /*caption*/,
             unsigned style) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return (style & MB_BUTTON_MASK) == MB_YESNO ? IDYES : IDOK;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PORT (a COM number, 0 for USB)\n", argv[0]);
        return 2;
    }
    const int port = std::atoi(argv[1]);
    int appArgc = 1; // the program takes its command line as a history file
    CPelmoraApp app(appArgc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(1);
    CYesSink yes;
    CMessageBoxes::SetSink(&yes);
    CMainFrame* frame = app.MainFrame();

    // Queued after the recovery the program asks about at start-up.
    QTimer::singleShot(0, frame, [frame, port] { frame->ConnectToPort(port); });
    QTimer steps;
    int step = 0;
    QObject::connect(&steps, &QTimer::timeout, frame, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject(); // the setting dialog the screen opens with
        if (step == 0 && !frame->IsConnecting()) {
            if (!frame->IsConnected()) {
                std::fprintf(stderr, "not connected\n");
                QApplication::exit(1);
            }
            frame->ExecuteCommand(ID_MODE_AVGPEAK);
            step = 1;
        } else if (step == 1 && QApplication::activeModalWidget() == nullptr) {
            frame->ExecuteCommand(ID_MEASURE_START);
            std::printf("recording\n");
            std::fflush(stdout);
            steps.stop();
        }
    });
    steps.start(50);
    return app.Run();
}
