#include "platform/CAppPaths.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace {
std::mutex s_mutex;
std::string s_override;

std::string RunningExecutableDirectory() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path(error).string();
    return exe.parent_path().string();
}

// Permission bits say nothing for root or on read-only mounts, so a file is really created.
bool CanCreateFilesIn(const std::string& directory) {
    std::string probe = CAppPaths::Join(directory, ".pelmora-write-XXXXXX");
    const int fd = mkstemp(probe.data());
    if (fd < 0)
        return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}

// $variable/pelmora, else ~/homeRelative/pelmora, created on demand.
std::string XdgDirectory(const char* variable, const char* homeRelative) {
    std::string base;
    if (const char* xdg = std::getenv(variable); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = CAppPaths::Join(home, homeRelative);
    } else {
        base = "/tmp";
    }
    const std::string directory = CAppPaths::Join(base, "pelmora");
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return directory;
}
} // namespace

std::string CAppPaths::ExecutableDirectory() {
    std::lock_guard lock(s_mutex);
    if (!s_override.empty())
        return s_override;
    static const std::string directory = RunningExecutableDirectory();
    return directory;
}

void CAppPaths::OverrideExecutableDirectory(const std::string& directory) {
    std::lock_guard lock(s_mutex);
    s_override = directory;
}

std::string CAppPaths::Join(const std::string& directory, const std::string& name) {
    if (directory.empty())
        return name;
    if (directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

std::string CAppPaths::UserDataDirectory() {
    return XdgDirectory("XDG_DATA_HOME", ".local/share");
}

std::string CAppPaths::UserConfigDirectory() {
    return XdgDirectory("XDG_CONFIG_HOME", ".config");
}

std::string CAppPaths::ProfileDirectory() {
    const std::string besideExecutable = ExecutableDirectory();
    return CanCreateFilesIn(besideExecutable) ? besideExecutable : UserConfigDirectory();
}
