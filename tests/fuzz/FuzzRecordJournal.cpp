#include "FuzzCheck.h"

#include "history/CRecordJournal.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

// Any bytes, above all a journal torn by a crash, read as whole blocks or not at all, and what
// was read converts to a history of exactly its rows.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CRecordJournal::Content content;
    const CRecordJournal::ReadResult result = CRecordJournal::Parse(data, size, content);
    if (result == CRecordJournal::ReadResult::Unreadable) {
        Check(content.RowCount() == 0);
        return 0;
    }
    const CHistoryData history = CRecordJournal::ToHistory(content, 100000);
    Check(static_cast<size_t>(history.RowCount()) == std::min<size_t>(content.RowCount(), 100000) ||
          history.Header().Mask() == 0);
    return 0;
}
