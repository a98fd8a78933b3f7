#pragma once

#include "history/CHistoryData.h"

#include <cstdint>
#include <string>

struct HistoryLoadResult {
    bool ok = false;
    // The file has the older layout; it was converted and must not be saved back to its path.
    bool legacy = false;
    // One-line reason when ok is false.
    std::string error;
};

// Reads and writes history files (".psh"): a 216-byte header and rows of 32-bit values, or the
// older 244-byte layout, which is only read.
class CHistoryFile {
public:
    // The largest row block accepted; far beyond anything the recorder produces.
    static constexpr std::int64_t MaxRowBlockBytes = 256 * 1024 * 1024;

    // True when the file opens and its first byte marks the older layout.
    static bool IsLegacyHistoryFile(const std::string& path);
    // Replaces `data` only when the whole file was valid and read; otherwise `data` is untouched.
    static HistoryLoadResult LoadHistory(const std::string& path, CHistoryData& data);
    // Writes the header unchanged and the rows; an existing file is replaced only on success.
    static bool SaveHistoryRaw(const std::string& path, const HistoryHeader& header, const int32_t* rows,
                               int rowCount, std::string* error = nullptr);
    static bool SaveHistoryRaw(const std::string& path, const CHistoryData& data,
                               std::string* error = nullptr);
};
