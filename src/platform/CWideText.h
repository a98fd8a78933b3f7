#pragma once

#include <string>

// The program's strings are UTF-8; the Windows API takes UTF-16.
class CWideText {
public:
    // Invalid UTF-8 becomes U+FFFD rather than an empty string.
    static std::wstring FromUtf8(const std::string& utf8);
    static std::string ToUtf8(const std::wstring& wide);
};
