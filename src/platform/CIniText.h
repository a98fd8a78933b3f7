#pragma once

#include <functional>
#include <string>

// The line grammar of INI files, shared by reads and writes.
class CIniText {
public:
    static std::string Trim(const std::string& text);
    // Names compare case-insensitively.
    static bool SameName(const std::string& a, const std::string& b);
    // Strips one pair of matching quotes.
    static std::string Unquote(const std::string& value);
    // Section name of a "[name]" line, or false when the line is no section header.
    static bool SectionHeader(const std::string& line, std::string& name);
    // Key and raw value of a "key=value" line, or false for comments and other lines.
    static bool KeyLine(const std::string& line, std::string& key, std::string& value);
    // Each line of the text without its LF or CR LF end.
    static void ForEachLine(const std::string& text, const std::function<void(const std::string&)>& visit);
    // Each key line with the name of its section and its raw value; keys above the first
    // section header belong to none and are left out.
    static void ForEachKey(const std::string& text,
                           const std::function<void(const std::string& section, const std::string& key,
                                                    const std::string& value)>& visit);
};
