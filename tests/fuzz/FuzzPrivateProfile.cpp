// INI text of any content through the line grammar that profile and language reads share, in
// memory so that a run costs no file access: names and values come out trimmed, and a section
// header's name never holds its closing bracket.
#include "FuzzCheck.h"

#include "platform/CIniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {
bool IsTrimmed(std::string_view text) {
    return CIniText::Trim(text) == text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t lines = 0;
    CIniText::ForEachLine(text, [&lines](std::string_view line) {
        ++lines;
        Check(line.find('\n') == std::string_view::npos);
        std::string_view name;
        std::string_view key;
        std::string_view value;
        if (CIniText::SectionHeader(line, name)) {
            Check(IsTrimmed(name) && name.find(']') == std::string_view::npos);
        } else if (CIniText::KeyLine(line, key, value)) {
            Check(IsTrimmed(key) && key.find('=') == std::string_view::npos);
            const std::string_view unquoted = CIniText::Unquote(CIniText::Trim(value));
            Check(unquoted.size() <= value.size());
            Check(CIniText::SameName(key, key));
        }
    });
    Check(lines <= size);
    return 0;
}
