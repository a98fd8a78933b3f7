#include "appcore/CStringTable.h"

#include "platform/CAppPaths.h"
#include "platform/CPrivateProfile.h"

namespace {

constexpr size_t kMaxTextCharacters = 1023;

std::string& StoredPath() {
    static std::string path = CStringTable::BuildPath();
    return path;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

// Counts characters, not bytes, so that a cut never splits a multi-byte character.
std::string CStringTable::LimitLength(std::string text) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i]))
            continue;
        if (characters == kMaxTextCharacters) {
            text.resize(i);
            break;
        }
        ++characters;
    }
    return text;
}

std::string CStringTable::BuildPath() {
    return CAppPaths::Join(CAppPaths::ExecutableDirectory(), "TrelPMEnStr.ini");
}

void CStringTable::SetPath(const std::string& path) {
    StoredPath() = path;
}

const std::string& CStringTable::Path() {
    return StoredPath();
}

std::string CStringTable::GetText(const std::string& section, const std::string& key) {
    return LimitLength(CPrivateProfile::ReadString(section, key, "", Path()));
}

std::string CStringTable::GetGeneralText(const std::string& key) {
    return GetText("STRING", key);
}

std::string CStringTable::GetMenuText(const std::string& key) {
    return GetText("MENU", key);
}

std::string CStringTable::FillPlaceholder(std::string text, const std::string& placeholder,
                                          const std::string& value) {
    const size_t position = text.find(placeholder);
    if (position != std::string::npos)
        text.replace(position, placeholder.size(), value);
    return text;
}
