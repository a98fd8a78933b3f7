#pragma once

#include "history/CRecordJournal.h"

#include <string>
#include <vector>

// Turns the journals of recordings that ended without a save (a crash, a kill, a power loss)
// back into history files.
class CJournalRecovery {
public:
    // A journal left behind, with what it holds.
    struct Found {
        std::string path;
        CRecordJournal::Content content;
        CRecordJournal::ReadResult result = CRecordJournal::ReadResult::Unreadable;
    };

    // The orphaned journals of the folder that hold rows; those with nothing to recover are removed.
    static std::vector<Found> Find(const std::string& journalFolder);
    // Recovered histories go to the per-user data folder, "recovered".
    static std::string DefaultOutputFolder();
    // Writes the journal's history into the folder under a name of its start time and model, and
    // removes the journal once the history is written; the file's path, or empty (see error).
    static std::string Recover(const Found& found, const std::string& outputFolder,
                               std::string* error = nullptr);
    // The journal was looked at and given up.
    static void Discard(const Found& found);
};
