#include "cli/CCliJournalCommands.h"

#include "cli/CCliOptions.h"
#include "history/CHistoryRecorder.h"
#include "history/CJournalRecovery.h"

#include <ostream>

namespace {

std::string JournalFolder(const CCliOptions::Values& values) {
    const auto given = values.find("journals");
    return given != values.end() ? given->second : CRecordJournal::DefaultFolder();
}

void Describe(std::ostream& out, const CJournalRecovery::Found& found) {
    out << found.content.header.Text(HistoryText::ModelName) << ", started "
        << CHistoryRecorder::TimeText(found.content.startTime) << ", " << found.content.RowCount() << " rows"
        << (found.result == CRecordJournal::ReadResult::TornTail ? " (its last block was torn)" : "");
}

} // namespace

std::vector<CliCommand> CCliJournalCommands::Commands() {
    return {
        {{"journal", "list"},
         "[--journals DIR]",
         "List the measurements left unsaved by a crash.",
         0,
         2,
         List},
        {{"journal", "recover"},
         "[--out DIR] [--journals DIR]",
         "Recover every measurement left unsaved by a crash as a history file.",
         0,
         4,
         Recover},
    };
}

int CCliJournalCommands::List(const CliContext& context) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"journals"}, values))
        return 2;
    for (const CJournalRecovery::Found& found : CJournalRecovery::Find(JournalFolder(values))) {
        context.out << found.path << ": ";
        Describe(context.out, found);
        context.out << "\n";
    }
    return 0;
}

int CCliJournalCommands::Recover(const CliContext& context) {
    CCliOptions::Values values;
    if (!CCliOptions::Parse(context, {"out", "journals"}, values))
        return 2;
    const std::string outFolder =
        values.contains("out") ? values["out"] : CJournalRecovery::DefaultOutputFolder();
    int failures = 0;
    for (const CJournalRecovery::Found& found : CJournalRecovery::Find(JournalFolder(values))) {
        std::string error;
        const std::string path = CJournalRecovery::Recover(found, outFolder, &error);
        if (path.empty()) {
            context.err << "pelmora-cli: " << found.path << " was not recovered: " << error << "\n";
            ++failures;
            continue;
        }
        context.out << path << ": ";
        Describe(context.out, found);
        context.out << "\n";
    }
    return failures == 0 ? 0 : 1;
}
