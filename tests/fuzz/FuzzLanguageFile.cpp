// Language files of any content, parsed in memory as the language look-ups parse the file: a
// text is at most 1023 characters and never ends inside a multi-byte character.
#include "FuzzCheck.h"

#include "appcore/CStringTable.h"
#include "platform/CIniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
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
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    CIniText::ForEachKey(file, [](std::string_view, std::string_view, std::string_view value) {
        const std::string uncut(CIniText::Unquote(CIniText::Trim(value)));
        const std::string text = CStringTable::LimitLength(uncut);
        Check(Characters(text) <= 1023);
        Check(IsWholePrefix(text, uncut));
        CStringTable::FillPlaceholder(text, "%s", "value");
    });
    return 0;
}
