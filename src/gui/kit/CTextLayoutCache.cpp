#include "gui/kit/CTextLayoutCache.h"

#include <QHash>
#include <QTextOption>

#include <limits>

#include "gui/kit/FontCache.h"

std::shared_ptr<const LaidOutText> CTextLayoutCache::Get(const QString& text, int fontPoints) {
    const size_t hash = qHash(text);
    for (const Entry& entry : m_entries) {
        if (entry.hash == hash && entry.fontPoints == fontPoints && entry.laidOut->layout.text() == text)
            return entry.laidOut;
    }
    Entry entry{hash, fontPoints, LayOut(text, fontPoints)};
    if (m_entries.size() < m_capacity) {
        m_entries.push_back(std::move(entry));
        return m_entries.back().laidOut;
    }
    m_entries[m_oldest] = std::move(entry);
    const std::size_t replaced = m_oldest;
    m_oldest = (m_oldest + 1) % m_capacity;
    return m_entries[replaced].laidOut;
}

// Kept shaped (cache enabled), so that drawing it shapes nothing again.
std::shared_ptr<const LaidOutText> CTextLayoutCache::LayOut(const QString& text, int fontPoints) {
    auto laidOut = std::make_shared<LaidOutText>(text, m_fonts.Get(fontPoints));
    QTextLayout& layout = laidOut->layout;
    layout.setCacheEnabled(true);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::numeric_limits<int>::max() / 2.0);
    layout.endLayout();
    laidOut->cursorX.reserve(static_cast<std::size_t>(text.size()) + 1);
    for (int position = 0; position <= text.size(); ++position)
        laidOut->cursorX.push_back(line.cursorToX(position));
    return laidOut;
}
