#pragma once

#include <string>
#include <vector>

// The program's arguments as UTF-8. On Windows main's argv is in the system's code page, which
// loses every character beyond it, so the arguments are read again from the wide command line.
class CCommandLine {
public:
    // The arguments after the program's name.
    static std::vector<std::string> Arguments(int argc, char** argv);
    // Lets a Windows console show the UTF-8 text the program writes (names, paths) as it is.
    static void UseUtf8Console();
};
