#pragma once

#include <string>

// Where the program's files live. The executable's directory is found from /proc/self/exe
// (GetModuleFileNameW on Windows); tests may point it elsewhere. On Windows the per-user
// folders are %LOCALAPPDATA%\Pelmora and %APPDATA%\Pelmora. Paths use '/' on both systems.
class CAppPaths {
public:
    // Directory of the running executable, without a trailing slash.
    static std::string ExecutableDirectory();
    // Replaces the executable directory for the rest of the process (tests); empty restores it.
    static void OverrideExecutableDirectory(const std::string& directory);
    // Joins a directory and a file name with one '/'.
    static std::string Join(const std::string& directory, const std::string& name);
    // The per-user data directory ($XDG_DATA_HOME/pelmora or ~/.local/share/pelmora), created on demand.
    static std::string UserDataDirectory();
    // The per-user settings directory ($XDG_CONFIG_HOME/pelmora or ~/.config/pelmora), created on demand.
    static std::string UserConfigDirectory();
    // Where the settings profiles live: beside the executable when files can be created there
    // (a copy unpacked into a folder of its own), else the per-user settings directory (an
    // installed program in a system folder; on Windows always for a program below Program Files).
    static std::string ProfileDirectory();
};
