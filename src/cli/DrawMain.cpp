// pelmora-cli-draw: the commands of pelmora-cli that draw with Qt, run by pelmora-cli with the
// user's command line.
#include "cli/CCliDispatcher.h"
#include "cli/CCliHistoryExports.h"

#include "platform/CCommandLine.h"

#include <iostream>

int main(int argc, char** argv) {
    CCliDispatcher dispatcher;
    dispatcher.Add(CCliHistoryExports::Commands());
    CCommandLine::UseUtf8Console();
    return dispatcher.Run(CCommandLine::Arguments(argc, argv), std::cout, std::cerr);
}
