#pragma once

#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// A program run as a separate process, its output going to files, so that a test can judge
// how it ends (exit code, signal, time) as a user's shell would.
class CChildProcess {
public:
    CChildProcess() = default;
    // A child still running is killed and reaped.
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts `program` with the current environment plus `environment`, standard output and
    // error into the given files and no standard input; false when it could not be started.
    bool Start(const std::string& program, const std::vector<std::string>& arguments,
               const std::map<std::string, std::string>& environment, const std::string& outPath,
               const std::string& errPath);
    // Waits at most timeoutMs for the child to end; false when it is still running.
    bool Wait(int timeoutMs);
    void Signal(int signal) const;

    bool Exited() const;
    int ExitCode() const;
    // The signal that ended the child, or 0.
    int TermSignal() const;

private:
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
};
