#include "platform/CAppPaths.h"

#include <cstdlib>
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
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = Join(home, ".local/share");
    } else {
        base = "/tmp";
    }
    const std::string directory = Join(base, "pelmora");
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return directory;
}
