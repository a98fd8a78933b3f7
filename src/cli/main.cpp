#include "cli/CCliCcdfCommand.h"
#include "cli/CCliDeviceCommands.h"
#include "cli/CCliDispatcher.h"
#include "cli/CCliHistoryCommands.h"
#include "cli/CCliJournalCommands.h"
#include "cli/CCliLoggingCommands.h"
#include "cli/CCliRecordCommand.h"
#include "cli/CCliRelativeCommand.h"
#include "cli/CCliServeCommand.h"
#ifdef PELMORA_CLI_DRAW
#include "cli/CCliDrawHelper.h"
#endif

#include "platform/CCommandLine.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    CCliDispatcher dispatcher;
    dispatcher.Add(CCliHistoryCommands::Commands());
    dispatcher.Add(CCliDeviceCommands::Commands());
    dispatcher.Add(CCliRecordCommand::Commands());
    dispatcher.Add(CCliRelativeCommand::Commands());
    dispatcher.Add(CCliLoggingCommands::Commands());
    dispatcher.Add(CCliCcdfCommand::Commands());
    dispatcher.Add(CCliJournalCommands::Commands());
    dispatcher.Add(CCliServeCommand::Commands());
#ifdef PELMORA_CLI_DRAW
    dispatcher.Add(CCliDrawHelper::Delegated());
#endif
    CCommandLine::UseUtf8Console();
    return dispatcher.Run(CCommandLine::Arguments(argc, argv), std::cout, std::cerr);
}
