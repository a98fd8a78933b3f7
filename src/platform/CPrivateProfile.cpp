#include "platform/CPrivateProfile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Section name of a "[name]" line, or false when the line is no section header.
bool SectionHeader(const std::string& line, std::string& name) {
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return false;
    const auto close = trimmed.find(']');
    if (close == std::string::npos)
        return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

// Key and raw value of a "key=value" line, or false for comments and other lines.
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
    const std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return false;
    const auto equals = trimmed.find('=');
    if (equals == std::string::npos)
        return false;
    key = Trim(trimmed.substr(0, equals));
    value = trimmed.substr(equals + 1);
    return true;
}

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
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ini.lines.push_back(line);
        start = end + 1;
    }
    return true;
}

// Writes beside the target and renames over it, so a failed write never truncates the file.
bool StoreLines(const std::string& path, const IniLines& ini) {
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const char* newline = ini.crlf ? "\r\n" : "\n";
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        out << ini.lines[i];
        if (i + 1 < ini.lines.size() || ini.endsWithNewline)
            out << newline;
    }
    out.close();
    if (!out || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace

std::string CPrivateProfile::ReadString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue, const std::string& path) {
    IniLines ini;
    if (!LoadLines(path, ini))
        return defaultValue;
    bool inSection = false;
    for (const auto& line : ini.lines) {
        std::string name, lineKey, value;
        if (SectionHeader(line, name)) {
            inSection = SameName(name, section);
        } else if (inSection && KeyLine(line, lineKey, value) && SameName(lineKey, key)) {
            return Unquote(Trim(value));
        }
    }
    return defaultValue;
}

int CPrivateProfile::ReadInt(const std::string& section, const std::string& key, int defaultValue,
                             const std::string& path) {
    const std::string value = ReadString(section, key, "", path);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < value.size() && (value[pos] == '-' || value[pos] == '+'))
        negative = value[pos++] == '-';
    if (pos >= value.size() || !std::isdigit(static_cast<unsigned char>(value[pos])))
        return defaultValue;
    long long number = 0;
    while (pos < value.size() && std::isdigit(static_cast<unsigned char>(value[pos]))) {
        // Like the C library, an out-of-range number saturates instead of wrapping.
        number = std::min<long long>(number * 10 + (value[pos++] - '0'), 1LL << 32);
    }
    number = negative ? -number : number;
    if (number > INT32_MAX)
        return INT32_MAX;
    if (number < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(number);
}

bool CPrivateProfile::WriteString(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& path) {
    IniLines ini;
    LoadLines(path, ini);
    const std::string newLine = key + "=" + value;
    bool inSection = false;
    std::size_t insertAt = ini.lines.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        std::string name, lineKey, lineValue;
        if (SectionHeader(ini.lines[i], name)) {
            if (inSection)
                break;
            inSection = SameName(name, section);
            if (inSection) {
                sectionFound = true;
                insertAt = i + 1;
            }
        } else if (inSection) {
            if (KeyLine(ini.lines[i], lineKey, lineValue) && SameName(lineKey, key)) {
                ini.lines[i] = newLine;
                return StoreLines(path, ini);
            }
            if (!Trim(ini.lines[i]).empty())
                insertAt = i + 1;
        }
    }
    if (!sectionFound) {
        if (!ini.lines.empty() && !Trim(ini.lines.back()).empty())
            ini.lines.emplace_back();
        ini.lines.push_back("[" + section + "]");
        insertAt = ini.lines.size();
    }
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
    ini.endsWithNewline = true;
    return StoreLines(path, ini);
}
