#include "cli/CCliDrawHelper.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

int CCliDrawHelper::RunProgram(const std::string& path, const std::vector<std::string>& arguments,
                               std::string& error) {
    std::vector<std::string> argv = {path};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    pid_t child = -1;
    if (const int failure = posix_spawn(&child, path.c_str(), nullptr, nullptr, pointers.data(), environ)) {
        error = std::strerror(failure);
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            error = std::strerror(errno);
            return -1;
        }
    }
    // A helper ended by a signal ends this process the way a shell reports it.
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
