#include "screens/CTextLayoutCache.h"

#include <QTextOption>

#include <limits>

#include "screens/FontCache.h"

std::shared_ptr<const QTextLayout> CTextLayoutCache::Get(const QString& text, int fontPoints) {
    for (const Entry& entry : m_entries) {
        if (entry.fontPoints == fontPoints && entry.text == text)
            return entry.layout;
    }
    Entry entry{text, fontPoints, LayOut(text, fontPoints)};
    if (m_entries.size() < m_capacity) {
        m_entries.push_back(std::move(entry));
        return m_entries.back().layout;
    }
    m_entries[m_oldest] = std::move(entry);
    const std::size_t replaced = m_oldest;
    m_oldest = (m_oldest + 1) % m_capacity;
    return m_entries[replaced].layout;
}

// Kept shaped (cache enabled), so that drawing it shapes nothing again.
std::shared_ptr<const QTextLayout> CTextLayoutCache::LayOut(const QString& text, int fontPoints) {
    auto layout = std::make_shared<QTextLayout>(text, FontCache::Get(fontPoints));
    layout->setCacheEnabled(true);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout->setTextOption(option);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(std::numeric_limits<int>::max() / 2);
    layout->endLayout();
    return layout;
}
