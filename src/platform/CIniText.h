#pragma once

#include <functional>
#include <string_view>

// The line grammar of INI files, shared by reads and writes. Names, values and lines are views
// into the text given, so reading a file copies nothing but what the caller keeps.
class CIniText {
public:
    static std::string_view Trim(std::string_view text);
    // Names compare case-insensitively.
    static bool SameName(std::string_view a, std::string_view b);
    // Strips one pair of matching quotes.
    static std::string_view Unquote(std::string_view value);
    // Section name of a "[name]" line, or false when the line is no section header.
    static bool SectionHeader(std::string_view line, std::string_view& name);
    // Key and raw value of a "key=value" line, or false for comments and other lines.
    static bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value);
    // Each line of the text without its LF or CR LF end.
    static void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& visit);
    // Each key line with the name of its section and its raw value; keys above the first
    // section header belong to none and are left out.
    static void ForEachKey(std::string_view text,
                           const std::function<void(std::string_view section, std::string_view key,
                                                    std::string_view value)>& visit);
};
