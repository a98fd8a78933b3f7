// Language files of any content: a text is at most 1023 characters and never ends inside a
// multi-byte character, whatever the file holds.
#include "app/CStringTable.h"
#include "platform/CPrivateProfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
void Check(bool condition) {
    if (!condition)
        std::abort();
}

size_t Characters(const std::string& text) {
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// A cut text is a prefix of the file's text that ends with a whole character.
bool IsWholePrefix(const std::string& text, const std::string& uncut) {
    if (uncut.compare(0, text.size(), text) != 0)
        return false;
    return text.size() == uncut.size() || (static_cast<unsigned char>(uncut[text.size()]) & 0xC0) != 0x80;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/dev/shm/pelmora-fuzz-language-" + std::to_string(::getpid()) + ".ini";
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    CStringTable::SetPath(path);
    for (const char* key : {"S_CAPTION", "S_IDD_SETTING_ONOK_IFREQ"}) {
        const std::string text = CStringTable::GetGeneralText(key);
        Check(Characters(text) <= 1023);
        Check(IsWholePrefix(text, CPrivateProfile::ReadString("STRING", key, "", path)));
        CStringTable::FillPlaceholder(text, "%s", "value");
    }
    Check(CStringTable::GetMenuText("ID_FILE_OPEN").size() <= 4 * 1023);
    return 0;
}
