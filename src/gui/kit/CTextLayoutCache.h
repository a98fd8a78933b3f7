#pragma once

#include <QString>
#include <QTextLayout>

#include <cstddef>
#include <memory>
#include <vector>

class FontCache;

// A text shaped and laid out on one line, with where each of its cursor positions lies along
// the line, as QTextLine::cursorToX tells it, from 0 to the text's length.
struct LaidOutText {
    LaidOutText(const QString& text, const QFont& font) : layout(text, font) {}

    QTextLayout layout;
    std::vector<qreal> cursorX;
};

// Texts of the readout fonts, laid out for reuse: a reading that jitters between a few values
// shows the same few texts again and again. The oldest entry makes room when the cache is
// full. User-interface thread only.
class CTextLayoutCache {
public:
    // The fonts come from the cache given, which must outlive this one.
    CTextLayoutCache(FontCache& fonts, std::size_t capacity) : m_fonts(fonts), m_capacity(capacity) {}

    // The laid-out text in the readout font of that point size; stays valid while held.
    std::shared_ptr<const LaidOutText> Get(const QString& text, int fontPoints);

private:
    struct Entry {
        size_t hash = 0;
        int fontPoints = 0;
        std::shared_ptr<const LaidOutText> laidOut;
    };

    std::shared_ptr<const LaidOutText> LayOut(const QString& text, int fontPoints);

    FontCache& m_fonts;
    std::size_t m_capacity;
    std::size_t m_oldest = 0;
    std::vector<Entry> m_entries;
};
