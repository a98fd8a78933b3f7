#pragma once

#include <cstdint>
#include <string>

class CCancelSignal;

// A Windows file handle opened for overlapped I/O, so that its transfers honour a time-out and
// a cancel signal: what the USB transports need from a driver's device or pipe handle.
class CWin32Handle {
public:
    CWin32Handle() = default;
    ~CWin32Handle();
    CWin32Handle(const CWin32Handle&) = delete;
    CWin32Handle& operator=(const CWin32Handle&) = delete;

    // Read and write access, open existing; shared lets others read and write it meanwhile.
    bool Open(const std::string& path, bool shared);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    // Exactly count bytes within the time-out (milliseconds); *done gets the bytes received.
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* done, uint32_t timeoutMs,
              const CCancelSignal& cancel);
    // All bytes, waiting as long as it takes unless cancelled.
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* done, const CCancelSignal& cancel);
    // Whether a directory of that name can be opened (the device of a pipe directory).
    static bool CanOpenDirectory(const std::string& path);

private:
    // One ReadFile or WriteFile, waited for; the bytes moved, or false.
    bool Transfer(bool reading, uint8_t* bytes, uint32_t count, uint32_t timeoutMs,
                  const CCancelSignal& cancel, uint32_t* moved);

    void* m_handle = nullptr;
    void* m_event = nullptr;
};
