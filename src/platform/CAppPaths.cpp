#include "platform/CAppPaths.h"

#include "platform/CFilePath.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>

#ifdef _WIN32
#include <cwctype>
#include <fstream>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
std::mutex s_mutex;
std::string s_override;

#ifdef _WIN32
std::string RunningExecutableDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            std::error_code error;
            return CFilePath::ToUtf8(std::filesystem::current_path(error).generic_wstring());
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return CFilePath::ToUtf8(std::filesystem::path(path).parent_path().generic_wstring());
}

// The folder's security settings are hard to read; creating a file answers the question.
bool CanCreateFilesIn(const std::string& directory) {
    const std::string probe =
        CAppPaths::Join(directory, ".pelmora-write-" + std::to_string(GetCurrentProcessId()));
    const std::filesystem::path path = CFilePath::FromUtf8(probe);
    bool created = false;
    {
        std::ofstream file(path, std::ios::trunc);
        created = static_cast<bool>(file);
    }
    std::error_code error;
    std::filesystem::remove(path, error);
    return created;
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

// An installed copy lives below one of the Program Files folders. An administrator (or Wine) can
// write there, but what is written there is not the user's and goes with the next update.
bool IsBelowProgramFiles(const std::string& directory) {
    const std::wstring folder =
        Lower(std::filesystem::path(CFilePath::FromUtf8(directory)).lexically_normal().wstring());
    for (const wchar_t* variable : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"}) {
        const wchar_t* value = _wgetenv(variable);
        if (!value || !*value)
            continue;
        std::wstring root = Lower(std::filesystem::path(value).lexically_normal().wstring());
        if (!root.empty() && root.back() != L'\\')
            root += L'\\';
        if ((folder + L'\\').rfind(root, 0) == 0)
            return true;
    }
    return false;
}

// %variable%\Pelmora (APPDATA roams with the user, LOCALAPPDATA stays on the machine), created on demand.
std::string UserDirectory(const wchar_t* variable) {
    std::string base;
    if (const wchar_t* value = _wgetenv(variable); value && *value)
        base = CFilePath::ToUtf8(std::filesystem::path(value).generic_wstring());
    else
        base = CFilePath::ToUtf8(std::filesystem::temp_directory_path().generic_wstring());
    const std::string directory = CAppPaths::Join(base, "Pelmora");
    std::error_code error;
    std::filesystem::create_directories(CFilePath::FromUtf8(directory), error);
    return directory;
}
#else
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
#endif
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

#ifdef _WIN32
std::string CAppPaths::UserDataDirectory() {
    return UserDirectory(L"LOCALAPPDATA");
}

std::string CAppPaths::UserConfigDirectory() {
    return UserDirectory(L"APPDATA");
}
#else
std::string CAppPaths::UserDataDirectory() {
    return XdgDirectory("XDG_DATA_HOME", ".local/share");
}

std::string CAppPaths::UserConfigDirectory() {
    return XdgDirectory("XDG_CONFIG_HOME", ".config");
}
#endif

std::string CAppPaths::ProfileDirectory() {
    const std::string besideExecutable = ExecutableDirectory();
#ifdef _WIN32
    if (IsBelowProgramFiles(besideExecutable))
        return UserConfigDirectory();
#endif
    return CanCreateFilesIn(besideExecutable) ? besideExecutable : UserConfigDirectory();
}
