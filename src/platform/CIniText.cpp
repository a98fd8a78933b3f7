#include "platform/CIniText.h"

#include <cctype>

std::string CIniText::Trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool CIniText::SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string CIniText::Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool CIniText::SectionHeader(const std::string& line, std::string& name) {
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return false;
    const auto close = trimmed.find(']');
    if (close == std::string::npos)
        return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

bool CIniText::KeyLine(const std::string& line, std::string& key, std::string& value) {
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

void CIniText::ForEachLine(const std::string& text, const std::function<void(const std::string&)>& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        visit(line);
        start = end + 1;
    }
}

void CIniText::ForEachKey(
    const std::string& text,
    const std::function<void(const std::string&, const std::string&, const std::string&)>& visit) {
    std::string section;
    bool inSection = false;
    ForEachLine(text, [&](const std::string& line) {
        std::string name, key, value;
        if (SectionHeader(line, name)) {
            section = name;
            inSection = true;
        } else if (inSection && KeyLine(line, key, value)) {
            visit(section, key, value);
        }
    });
}
