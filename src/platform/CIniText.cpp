#include "platform/CIniText.h"

#include <cctype>

std::string_view CIniText::Trim(std::string_view text) {
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool CIniText::SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view CIniText::Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool CIniText::SectionHeader(std::string_view line, std::string_view& name) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return false;
    const auto close = trimmed.find(']');
    if (close == std::string_view::npos)
        return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

bool CIniText::KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';')
        return false;
    const auto equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return false;
    key = Trim(trimmed.substr(0, equals));
    value = trimmed.substr(equals + 1);
    return true;
}

void CIniText::ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        visit(line);
        start = end + 1;
    }
}

void CIniText::ForEachKey(
    std::string_view text,
    const std::function<void(std::string_view, std::string_view, std::string_view)>& visit) {
    std::string_view section;
    bool inSection = false;
    ForEachLine(text, [&](std::string_view line) {
        std::string_view name, key, value;
        if (SectionHeader(line, name)) {
            section = name;
            inSection = true;
        } else if (inSection && KeyLine(line, key, value)) {
            visit(section, key, value);
        }
    });
}
