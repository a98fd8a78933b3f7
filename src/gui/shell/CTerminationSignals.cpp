#include "gui/shell/CTerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// One per process: a signal handler is handed no object, only a plain function can reach it.
int s_pipe[2] = {-1, -1};
} // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {}

CTerminationSignals::~CTerminationSignals() {
    if (!m_notifier)
        return;
    for (const int number : kSignals)
        std::signal(number, SIG_DFL);
    close(s_pipe[0]);
    close(s_pipe[1]);
    s_pipe[0] = s_pipe[1] = -1;
}

bool CTerminationSignals::Install() {
    if (m_notifier || s_pipe[0] >= 0 || pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::OnReadable);
    struct sigaction action = {};
    action.sa_handler = &CTerminationSignals::OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        sigaction(number, &action, nullptr);
    return true;
}

// Only async-signal-safe work here.
void CTerminationSignals::OnSignal(int number) {
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = write(s_pipe[1], &byte, 1);
}

void CTerminationSignals::OnReadable() {
    char bytes[16];
    while (read(s_pipe[0], bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}
