// INI text of any content through the line grammar that profile and language reads share, in
// memory so that a run costs no file access: names and values come out trimmed, and a section
// header's name never holds its closing bracket.
#include "FuzzCheck.h"

#include "platform/CIniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
bool IsTrimmed(const std::string& text) {
    return CIniText::Trim(text) == text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t lines = 0;
    CIniText::ForEachLine(text, [&lines](const std::string& line) {
        ++lines;
        Check(line.find('\n') == std::string::npos);
        std::string name;
        std::string key;
        std::string value;
        if (CIniText::SectionHeader(line, name)) {
            Check(IsTrimmed(name) && name.find(']') == std::string::npos);
        } else if (CIniText::KeyLine(line, key, value)) {
            Check(IsTrimmed(key) && key.find('=') == std::string::npos);
            const std::string unquoted = CIniText::Unquote(CIniText::Trim(value));
            Check(unquoted.size() <= value.size());
            Check(CIniText::SameName(key, key));
        }
    });
    Check(lines <= size);
    return 0;
}
