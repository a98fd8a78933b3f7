#pragma once

#include <QFont>

#include <deque>
#include <utility>

// The bold "Arial" fonts of the readouts and text panes, keyed by point size and shared by
// every window, so that a repaint does not create fonts over and over. User-interface thread only.
class FontCache {
public:
    static constexpr int kMaxFonts = 20;

    // The cached font of that point size, created (and the oldest dropped when full) if missing.
    static QFont Get(int points);
    static int Count();
    static void Clear();

private:
    static QFont Create(int points);
    static std::deque<std::pair<int, QFont>>& Fonts();
};
