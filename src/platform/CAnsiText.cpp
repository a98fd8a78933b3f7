#include "platform/CAnsiText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {
// Code points of Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1
// controls of the same value, as Windows does.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

char ByteOf(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 character at `pos`; an invalid sequence yields U+FFFD and one byte.
char32_t NextCodePoint(const std::string& text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4 || pos + static_cast<std::size_t>(extra) > text.size())
        return 0xFFFD;
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (next & 0x3F);
    }
    pos += static_cast<std::size_t>(extra);
    return cp;
}
} // namespace

std::string CAnsiText::FromUtf8(const std::string& utf8) {
    std::string ansi;
    ansi.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        ansi += ByteOf(NextCodePoint(utf8, pos));
    return ansi;
}

std::string CAnsiText::Unstorable(const std::string& utf8) {
    std::string found;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t codePoint = NextCodePoint(utf8, pos);
        if (codePoint == U'?' || ByteOf(codePoint) != '?')
            continue;
        // An invalid byte is shown as the replacement character, never as itself.
        std::string character = utf8.substr(start, pos - start);
        if (codePoint == 0xFFFD)
            character = "\xEF\xBF\xBD";
        if (found.find(character) == std::string::npos)
            found += character;
    }
    return found;
}

std::string CAnsiText::ToUtf8(const std::string& ansi) {
    std::string utf8;
    utf8.reserve(ansi.size());
    for (const char byte : ansi)
        AppendUtf8(utf8, CodePointOf(static_cast<unsigned char>(byte)));
    return utf8;
}

void CAnsiText::CopyToField(char* field, std::size_t size, const std::string& utf8) {
    if (size == 0)
        return;
    // Every Windows-1252 character is one byte, so cutting the bytes cuts at a character boundary.
    const std::string ansi = FromUtf8(utf8);
    const std::size_t length = std::min(ansi.size(), size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, ansi.data(), length);
}

std::string CAnsiText::ReadField(const char* field, std::size_t size) {
    const void* nul = std::memchr(field, 0, size);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : size;
    return ToUtf8(std::string(field, length));
}
