#include "cli/CCliNotices.h"

#include "cli/CCliOptions.h"

#include <ostream>

void CCliNotices::ShowRecordFull(bool full) {
    if (full)
        m_err << "pelmora-cli: " << CCliOptions::Text("S_SCREEN_RECORD_FULL") << "\n";
}
