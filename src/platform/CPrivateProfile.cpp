#include "platform/CPrivateProfile.h"

#include "platform/CIniCache.h"
#include "platform/CIniText.h"
#include "platform/CStaleTemporaryFiles.h"
#include "platform/CTextFormat.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

struct IniLines {
    std::vector<std::string> lines;
    bool crlf = false;
    bool endsWithNewline = true;
};

bool LoadLines(const std::string& path, IniLines& ini) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    ini.crlf = text.find("\r\n") != std::string::npos;
    ini.endsWithNewline = text.empty() || text.back() == '\n';
    CIniText::ForEachLine(text, [&](std::string_view line) { ini.lines.emplace_back(line); });
    return true;
}

// Sets one key in the lines: rewrites its line in place, or appends it to its section,
// creating the section at the end when absent.
void SetKey(IniLines& ini, const CPrivateProfile::Entry& entry) {
    const std::string newLine = entry.key + "=" + entry.value;
    bool inSection = false;
    std::size_t insertAt = ini.lines.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        std::string_view name, lineKey, lineValue;
        if (CIniText::SectionHeader(ini.lines[i], name)) {
            if (inSection)
                break;
            inSection = CIniText::SameName(name, entry.section);
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (CIniText::KeyLine(ini.lines[i], lineKey, lineValue) &&
                CIniText::SameName(lineKey, entry.key)) {
                ini.lines[i] = newLine;
                return;
            }
            if (!CIniText::Trim(ini.lines[i]).empty())
                insertAt = i + 1;
        }
    }
    if (!sectionFound) {
        if (!ini.lines.empty() && !CIniText::Trim(ini.lines.back()).empty())
            ini.lines.emplace_back();
        ini.lines.push_back("[" + entry.section + "]");
        insertAt = ini.lines.size();
    }
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
    ini.endsWithNewline = true;
}

std::string Join(const IniLines& ini) {
    const char* newline = ini.crlf ? "\r\n" : "\n";
    std::string text;
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        text += ini.lines[i];
        if (i + 1 < ini.lines.size() || ini.endsWithNewline)
            text += newline;
    }
    return text;
}

bool WriteAll(int descriptor, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = ::write(descriptor, text.data() + done, text.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

// Writes beside the target and renames over it, so a failed write never truncates the file.
bool StoreLines(const std::string& path, const IniLines& ini) {
    CStaleTemporaryFiles::RemoveIn(std::filesystem::path(path).parent_path().string());
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    const int descriptor = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return false;
    const bool written = WriteAll(descriptor, Join(ini)) && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    const bool stored = written && closed && std::rename(temp.c_str(), path.c_str()) == 0;
    // Dropped once the new file is in place, so that no look-up keeps the old one meanwhile.
    CIniCache::Forget(path);
    if (!stored)
        std::remove(temp.c_str());
    return stored;
}

} // namespace

void CPrivateProfile::SetRecheckInterval(std::chrono::milliseconds interval) {
    CIniCache::SetRecheckInterval(interval);
}

std::string CPrivateProfile::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue, const std::string& path) {
    std::string value;
    if (!CIniCache::Find(path, section, key, value))
        return defaultValue;
    return std::string(CIniText::Unquote(CIniText::Trim(value)));
}

int CPrivateProfile::ReadInt(const std::string& section, const std::string& key, int defaultValue,
                             const std::string& path) {
    return CTextFormat::LeadingInt(ReadString(section, key, "", path), defaultValue);
}

bool CPrivateProfile::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& path) {
    return WriteStrings({{section, key, value}}, path);
}

bool CPrivateProfile::WriteStrings(const std::vector<Entry>& entries, const std::string& path) {
    IniLines ini;
    LoadLines(path, ini);
    for (const Entry& entry : entries)
        SetKey(ini, entry);
    return StoreLines(path, ini);
}
