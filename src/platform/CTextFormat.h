#pragma once

#include <string>

// printf-style formatting into a UTF-8 std::string.
class CTextFormat {
public:
    static std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
};
