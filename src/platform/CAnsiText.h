#pragma once

#include <cstddef>
#include <string>

// 8-bit text fields of files are Windows-1252; the program's strings are UTF-8.
class CAnsiText {
public:
    // UTF-8 to Windows-1252; characters without a Windows-1252 code become '?'.
    static std::string FromUtf8(const std::string& utf8);
    // The characters of the text that have no Windows-1252 code, each once, in their order;
    // empty when the text can be stored as it is.
    static std::string Unstorable(const std::string& utf8);
    // Windows-1252 to UTF-8.
    static std::string ToUtf8(const std::string& ansi);
    // Copies the text into a fixed field of `size` bytes, NUL-terminated and zero-filled;
    // text that does not fit is cut at a character boundary. A field of size 0 is left alone.
    static void CopyToField(char* field, std::size_t size, const std::string& utf8);
    // Reads a NUL-terminated text from a fixed field without reading past its end.
    static std::string ReadField(const char* field, std::size_t size);
};
