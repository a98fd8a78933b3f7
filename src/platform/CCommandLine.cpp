#include "platform/CCommandLine.h"

#ifdef _WIN32
#include "platform/CWideText.h"

#include <windows.h>

#include <shellapi.h>

std::vector<std::string> CCommandLine::Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(CWideText::ToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

void CCommandLine::UseUtf8Console() {
    SetConsoleOutputCP(CP_UTF8);
}
#else
std::vector<std::string> CCommandLine::Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void CCommandLine::UseUtf8Console() {}
#endif
