#pragma once

#include <string>

// Where the program's files live. The executable's directory is found from /proc/self/exe;
// tests may point it elsewhere.
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
};
