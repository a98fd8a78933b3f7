#include "history/CJournalRecovery.h"

#include "history/CHistoryChannels.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "platform/CAppPaths.h"
#include "platform/CFilePath.h"
#include "platform/CNativeFile.h"

#include <algorithm>
#include <filesystem>

std::vector<CJournalRecovery::Found> CJournalRecovery::Find(const std::string& journalFolder) {
    std::vector<Found> found;
    for (const std::string& path : CRecordJournal::Orphans(journalFolder)) {
        Found journal;
        journal.path = path;
        journal.result = CRecordJournal::Read(path, journal.content);
        if (journal.result == CRecordJournal::ReadResult::Unreadable || journal.content.RowCount() == 0)
            Discard(journal); // nothing in it could become a history
        else
            found.push_back(std::move(journal));
    }
    return found;
}

std::string CJournalRecovery::DefaultOutputFolder() {
    return CAppPaths::Join(CAppPaths::UserDataDirectory(), "recovered");
}

std::string CJournalRecovery::Recover(const Found& found, const std::string& outputFolder,
                                      std::string* error) {
    std::error_code ignored;
    std::filesystem::create_directories(CFilePath::FromUtf8(outputFolder), ignored);
    const int valuesPerRow = std::max(CHistoryChannels::CountInMask(found.content.header.Mask()), 1);
    const auto maxRows = static_cast<std::size_t>(CHistoryFile::MaxRowBlockBytes / (4 * valuesPerRow));
    const CHistoryData history = CRecordJournal::ToHistory(found.content, maxRows);

    std::string stem = CHistoryRecorder::TimeText(found.content.startTime) + " " +
                       found.content.header.Text(HistoryText::ModelName);
    std::replace(stem.begin(), stem.end(), ':', '-');
    std::string path = CAppPaths::Join(outputFolder, stem + ".psh");
    for (int copy = 2; std::filesystem::exists(CFilePath::FromUtf8(path), ignored); ++copy)
        path = CAppPaths::Join(outputFolder, stem + " (" + std::to_string(copy) + ").psh");
    if (!CHistoryFile::SaveHistoryRaw(path, history, error))
        return {};
    Discard(found);
    return path;
}

void CJournalRecovery::Discard(const Found& found) {
    CNativeFile::Remove(found.path);
}
