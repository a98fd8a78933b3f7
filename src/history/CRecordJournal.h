#pragma once

#include "history/CHistoryChannels.h"
#include "history/CHistoryData.h"
#include "history/HistoryHeader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The crash-safe copy of a recording: the values of the channels a history will hold, appended
// to a journal file in blocks that each carry their own check sum and are synced to disk. A
// crash loses at most the values since the last block. The file is locked while its writer
// lives, so that a journal whose lock can be taken was left behind by a process that is gone.
//
// File: "PELJRNL1", the 216-byte history header the recording will be saved with (the
// statistics and times are filled in from the values when it is read), the start time (64-bit
// seconds since 1970) and a check sum; then blocks of: payload length and check sum (32-bit),
// the last-sample time (64-bit), and per channel of the header's mask in channel order a
// count (32-bit) and as many 32-bit floats. All little-endian.
class CRecordJournal {
public:
    static constexpr const char* kExtension = ".journal";
    static constexpr std::size_t kPrologueSize = 8 + HistoryHeader::Size + 8 + 4;

    enum class ReadResult {
        Complete,   // every block was whole
        TornTail,   // the blocks up to a torn or damaged one were read
        Unreadable, // not a journal, or its beginning is damaged
    };

    // What a journal holds.
    struct Content {
        HistoryHeader header;
        int64_t startTime = 0;
        int64_t lastSampleTime = 0;
        std::array<std::vector<float>, CHistoryChannels::Count> series;

        // Rows that every channel of the mask fills.
        std::size_t RowCount() const;
    };

    CRecordJournal() = default;
    // Closes the file and keeps it.
    ~CRecordJournal();
    CRecordJournal(const CRecordJournal&) = delete;
    CRecordJournal& operator=(const CRecordJournal&) = delete;

    // Journals in the per-user data folder, "journal".
    static std::string DefaultFolder();

    // Creates a new journal in the folder (created if need be) for a recording of the header's
    // channels; an open one is closed first and kept.
    bool Begin(const std::string& folder, const HistoryHeader& header, int64_t startTime);
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }
    // Takes one value of a channel; channels the header's mask lacks are ignored.
    void Add(int channel, float value);
    // Values taken so far for the channel, whether already written or not.
    std::size_t Count(int channel) const;
    bool HasPending() const;
    // Appends the values taken since the last block and syncs; false when writing failed.
    bool Flush(int64_t lastSampleTime);
    // Closes and removes the file: the recording was saved or given up.
    void Discard();

    // Journals in the folder that no living process writes.
    static std::vector<std::string> Orphans(const std::string& folder);
    static ReadResult Read(const std::string& path, Content& content);
    static ReadResult Parse(const uint8_t* bytes, std::size_t size, Content& content);
    // The history of the rows every channel fills, at most maxRows.
    static CHistoryData ToHistory(const Content& content, std::size_t maxRows);

private:
    void Close();

    int m_fd = -1;
    std::string m_path;
    uint8_t m_mask = 0;
    std::array<std::vector<float>, CHistoryChannels::Count> m_pending;
    std::array<std::size_t, CHistoryChannels::Count> m_written{};
};
