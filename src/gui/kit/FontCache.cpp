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
    auto& fonts = Fonts();
    for (const auto& [size, font] : fonts) {
        if (size == points)
            return font;
    }
    if (fonts.size() >= kMaxFonts)
        fonts.pop_front();
    fonts.emplace_back(points, Create(points));
    return fonts.back().second;
}

int FontCache::Count() {
    return static_cast<int>(Fonts().size());
}

void FontCache::Clear() {
    Fonts().clear();
}

QFont FontCache::Create(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setWeight(QFont::Bold);
    // The character height in pixels, as the readouts were laid out for it.
    const int pixels = static_cast<int>(std::lround(points * ScreenDpiY() / 72.0));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    return font;
}

std::deque<std::pair<int, QFont>>& FontCache::Fonts() {
    static std::deque<std::pair<int, QFont>> fonts;
    return fonts;
}
