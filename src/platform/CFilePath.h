#pragma once

#include <filesystem>
#include <string>

// Paths are UTF-8 strings inside the program. A std::filesystem::path made from a narrow
// string reads it in the system's code page on Windows, which garbles every name beyond ASCII,
// so paths cross to and from std::filesystem here.
class CFilePath {
public:
    // Invalid UTF-8 becomes U+FFFD on Windows rather than an exception.
    static std::filesystem::path FromUtf8(const std::string& utf8);
    static std::string ToUtf8(const std::filesystem::path& path);
};
