#include "gui/shell/CTerminationSignals.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <windows.h>

// Windows has no signals to catch: a console's Ctrl+C, Ctrl+Break and close arrive on a thread of
// their own and post the same quit; the end of a session reaches Qt as WM_ENDSESSION, and Qt
// quits the event loop itself. Either way shutdown runs as after Exit.
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
