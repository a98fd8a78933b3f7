#include "appcore/CScpiLineReader.h"

void CScpiLineReader::Append(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (!m_skipping) {
            if (m_line.size() + piece.size() > kMaxLine) {
                m_line.clear();
                m_skipping = true;
                m_onOverrun();
            } else {
                m_line.append(piece);
            }
        }
        if (end == std::string_view::npos)
            return;
        if (!m_skipping) {
            if (!m_line.empty() && m_line.back() == '\r')
                m_line.pop_back();
            m_onLine(m_line);
        }
        m_line.clear();
        m_skipping = false;
        bytes.remove_prefix(end + 1);
    }
}
