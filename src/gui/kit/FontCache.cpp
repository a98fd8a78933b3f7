#include "gui/kit/FontCache.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

constexpr double kFallbackDpi = 96.0;

double ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : kFallbackDpi;
}

} // namespace

QFont FontCache::Get(int points) {
    for (const auto& [size, font] : m_fonts) {
        if (size == points)
            return font;
    }
    if (m_fonts.size() >= kMaxFonts)
        m_fonts.pop_front();
    m_fonts.emplace_back(points, Create(points));
    return m_fonts.back().second;
}

QFont FontCache::Create(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setWeight(QFont::Bold);
    // The character height in pixels, as the readouts were laid out for it.
    const int pixels = static_cast<int>(std::lround(points * ScreenDpiY() / 72.0));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    return font;
}
