#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop when the process is asked to terminate (SIGTERM from a session or service
// manager, SIGINT from a terminal, SIGHUP when the terminal goes), so that shutdown runs as
// after Exit and the settings profile is saved. The handler only writes to a pipe; the quit
// happens on the user-interface thread.
class CTerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;

    // False when the pipe or the handlers could not be set up; the process then ends as before.
    bool Install();

private:
    static void OnSignal(int number);
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};
