#include "FuzzCheck.h"

#include "history/CHistoryChannels.h"
#include "history/CHistoryCsvWriter.h"
#include "history/CHistoryFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {
// The loader reads paths; an in-memory file avoids touching the disk on every input.
int InputDescriptor() {
    static const int descriptor = ::memfd_create("pelmora-fuzz-history", 0);
    return descriptor;
}

bool Store(const uint8_t* data, size_t size) {
    const int descriptor = InputDescriptor();
    return descriptor >= 0 && ::ftruncate(descriptor, 0) == 0 &&
           ::pwrite(descriptor, data, size, 0) == static_cast<ssize_t>(size);
}

void Exercise(const CHistoryData& history) {
    const HistoryHeader& header = history.Header();
    for (HistoryText field : {HistoryText::ModelName, HistoryText::SerialNumber, HistoryText::StartTime,
                              HistoryText::StopTime, HistoryText::Interval, HistoryText::Title})
        Check(header.Text(field).size() <= 3 * 32);
    for (int channel = -1; channel <= CHistoryChannels::Count; ++channel) {
        header.Statistics(channel);
        header.DisplayRange(channel);
        Check(history.Series(channel).size() ==
              (history.HasChannel(channel) ? size_t(history.RowCount()) : 0u));
    }
    CHistoryCsvWriter::Format(history, history.ModelNumber());
    CHistoryCsvWriter::Format(history, 5);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!Store(data, size))
        return 0;
    const std::string path = "/proc/self/fd/" + std::to_string(InputDescriptor());
    CHistoryData history;
    const HistoryLoadResult result = CHistoryFile::LoadHistory(path, history);
    if (!result.ok) {
        Check(history.RowCount() == 0 && history.Values().empty());
        return 0;
    }
    if (!result.legacy) {
        Check(std::memcmp(history.Header().Image().data(), data, HistoryHeader::Size) == 0);
        Check(history.Values().size() * 4 == size - HistoryHeader::Size);
    }
    Exercise(history);
    return 0;
}
