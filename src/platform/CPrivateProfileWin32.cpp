#include "platform/CPrivateProfile.h"

#include "platform/CTextFormat.h"
#include "platform/CWideText.h"

#include <filesystem>
#include <windows.h>

namespace {
// The profile functions look for a bare or relative name in the Windows folder; the program
// means its own working folder, as elsewhere.
std::wstring FullPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full =
        std::filesystem::absolute(std::filesystem::path(CWideText::FromUtf8(path)), error);
    if (error)
        full = std::filesystem::path(CWideText::FromUtf8(path));
    return full.make_preferred().wstring();
}

// Values longer than the buffer come back cut to its size less one; a longer read gets it all.
constexpr DWORD kFirstBuffer = 256;
constexpr DWORD kLongestValue = 1 << 20;
} // namespace

// The system's profile functions read the file every time.
void CPrivateProfile::SetRecheckInterval(std::chrono::milliseconds) {}

std::string CPrivateProfile::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue, const std::string& path) {
    const std::wstring file = FullPath(path);
    const std::wstring wideSection = CWideText::FromUtf8(section);
    const std::wstring wideKey = CWideText::FromUtf8(key);
    const std::wstring wideDefault = CWideText::FromUtf8(defaultValue);
    std::wstring value(kFirstBuffer, L'\0');
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(), value.data(),
                                     static_cast<DWORD>(value.size()), file.c_str());
        if (length + 1 < value.size() || value.size() >= kLongestValue) {
            value.resize(length);
            return CWideText::ToUtf8(value);
        }
        value.resize(value.size() * 2);
    }
}

int CPrivateProfile::ReadInt(const std::string& section, const std::string& key, int defaultValue,
                             const std::string& path) {
    return CTextFormat::LeadingInt(ReadString(section, key, "", path), defaultValue);
}

bool CPrivateProfile::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& path) {
    return WriteStrings({{section, key, value}}, path);
}

// The system writes each key by itself; the first failure stops the rest.
bool CPrivateProfile::WriteStrings(const std::vector<Entry>& entries, const std::string& path) {
    const std::wstring file = FullPath(path);
    for (const Entry& entry : entries) {
        if (!WritePrivateProfileStringW(CWideText::FromUtf8(entry.section).c_str(),
                                        CWideText::FromUtf8(entry.key).c_str(),
                                        CWideText::FromUtf8(entry.value).c_str(), file.c_str()))
            return false;
    }
    return true;
}
