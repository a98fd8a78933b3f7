#pragma once

#include <QString>
#include <QTextLayout>

#include <cstddef>
#include <memory>
#include <vector>

// Texts of the readout fonts, shaped and laid out on one line, kept for reuse: a reading that
// jitters between a few values shows the same few texts again and again. The oldest entry
// makes room when the cache is full. User-interface thread only.
class CTextLayoutCache {
public:
    explicit CTextLayoutCache(std::size_t capacity) : m_capacity(capacity) {}

    // The laid-out text in the readout font of that point size; stays valid while held.
    std::shared_ptr<const QTextLayout> Get(const QString& text, int fontPoints);

private:
    struct Entry {
        QString text;
        int fontPoints = 0;
        std::shared_ptr<const QTextLayout> layout;
    };

    static std::shared_ptr<const QTextLayout> LayOut(const QString& text, int fontPoints);

    std::size_t m_capacity;
    std::size_t m_oldest = 0;
    std::vector<Entry> m_entries;
};
