#include "gui/shell/CTerminationSignals.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <windows.h>

// Windows has no signals to catch: a console's Ctrl+C, Ctrl+Break and close arrive on a thread of
// their own and post the same quit, so that shutdown runs as after Exit. The end of a session
// ends the process without a shutdown; the application keeps its data when the session manager
// asks for it (commitDataRequest).
namespace {
BOOL WINAPI OnConsoleControl(DWORD) {
    if (QCoreApplication* application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, &QCoreApplication::quit, Qt::QueuedConnection);
    return TRUE;
}
} // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {}

CTerminationSignals::~CTerminationSignals() {
    SetConsoleCtrlHandler(&OnConsoleControl, FALSE);
}

bool CTerminationSignals::Install() {
    return SetConsoleCtrlHandler(&OnConsoleControl, TRUE) != FALSE;
}

#include "moc_CTerminationSignals.cpp" // the class is declared beside the POSIX implementation
