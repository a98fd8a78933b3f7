#pragma once

#include <QFont>

#include <deque>
#include <utility>

// The bold "Arial" fonts of a readout or text pane, keyed by point size, so that a repaint does
// not create fonts over and over. Each window that draws with them owns one.
// User-interface thread only.
class FontCache {
public:
    static constexpr int kMaxFonts = 20;

    // The cached font of that point size, created (and the oldest dropped when full) if missing.
    QFont Get(int points);
    int Count() const { return static_cast<int>(m_fonts.size()); }

private:
    static QFont Create(int points);

    std::deque<std::pair<int, QFont>> m_fonts;
};
