#pragma once

#include <string>

#ifdef _WIN32
// The C99 formats of MinGW's own printf, not those of the system's C library.
#define PELMORA_PRINTF_FORMAT gnu_printf
#else
#define PELMORA_PRINTF_FORMAT printf
#endif

// printf-style formatting into a UTF-8 std::string, and reading numbers back out of text.
class CTextFormat {
public:
    static std::string Printf(const char* format, ...) __attribute__((format(PELMORA_PRINTF_FORMAT, 1, 2)));
    // The leading decimal digits (with an optional sign) as a number, saturated to the int
    // range; the default when there are none.
    static int LeadingInt(const std::string& text, int defaultValue);
};
