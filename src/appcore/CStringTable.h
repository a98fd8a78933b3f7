#pragma once

#include <string>

// Every visible text comes from the language file "TrelPMEnStr.ini" beside the executable,
// looked up by section and key in a parsed copy that follows every change of the file. A
// missing file, section or key gives the empty string. Strings are UTF-8.
class CStringTable {
public:
    // Full path of the language file beside the executable.
    static std::string BuildPath();
    // Sets the path that every look-up reads (done once at start-up; tests point it elsewhere).
    static void SetPath(const std::string& path);
    static const std::string& Path();

    static std::string GetText(const std::string& section, const std::string& key);
    static std::string GetGeneralText(const std::string& key); // section "STRING"
    static std::string GetMenuText(const std::string& key);    // section "MENU"
    // The text cut to the longest a text may be (1023 characters), never inside a character.
    static std::string LimitLength(std::string text);

    // The text with its first placeholder (e.g. "%s") replaced by value. Texts come from an
    // editable file, so they are never handed to printf; other '%' signs stay as they are.
    static std::string FillPlaceholder(std::string text, const std::string& placeholder,
                                       const std::string& value);
};
