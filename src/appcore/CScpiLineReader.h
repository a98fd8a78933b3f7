#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Cuts the bytes a client sends into lines ended by LF (a CR before it is dropped). A line
// longer than kMaxLine is not kept: the overrun is reported once and the rest of that line
// is skipped, so a client that never sends LF cannot make the server hold unbounded memory.
class CScpiLineReader {
public:
    static constexpr size_t kMaxLine = 64 * 1024;

    using LineHandler = std::function<void(std::string_view line)>;
    using OverrunHandler = std::function<void()>;

    CScpiLineReader(LineHandler onLine, OverrunHandler onOverrun)
        : m_onLine(std::move(onLine)), m_onOverrun(std::move(onOverrun)) {}

    void Append(std::string_view bytes);

private:
    LineHandler m_onLine;
    OverrunHandler m_onOverrun;
    std::string m_line;
    bool m_skipping = false;
};
