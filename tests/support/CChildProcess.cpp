#include "support/CChildProcess.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {
std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& overrides) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (!overrides.contains(text.substr(0, text.find('='))))
            merged.push_back(text);
    }
    for (const auto& [name, value] : overrides)
        merged.push_back(name + "=" + value);
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

CChildProcess::~CChildProcess() {
    if (m_pid > 0 && !m_ended) {
        Signal(SIGKILL);
        waitpid(m_pid, &m_status, 0);
    }
}

bool CChildProcess::Start(const std::string& program, const std::vector<std::string>& arguments,
                          const std::map<std::string, std::string>& environment, const std::string& outPath,
                          const std::string& errPath) {
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = MergedEnvironment(environment);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int error =
        posix_spawn(&m_pid, program.c_str(), &actions, nullptr, Pointers(argv).data(), Pointers(envp).data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        m_pid = -1;
    return error == 0;
}

bool CChildProcess::Wait(int timeoutMs) {
    if (m_pid <= 0 || m_ended)
        return m_ended;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_ended = true;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void CChildProcess::Signal(int signal) const {
    if (m_pid > 0 && !m_ended)
        kill(m_pid, signal);
}

bool CChildProcess::Exited() const {
    return m_ended && WIFEXITED(m_status);
}

int CChildProcess::ExitCode() const {
    return Exited() ? WEXITSTATUS(m_status) : -1;
}

int CChildProcess::TermSignal() const {
    return m_ended && WIFSIGNALED(m_status) ? WTERMSIG(m_status) : 0;
}
