#include "device/CWin32Handle.h"

#include "device/CCancelSignal.h"
#include "platform/CWideText.h"

#include <chrono>
#include <windows.h>

namespace {
using Clock = std::chrono::steady_clock;

DWORD RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) : 0;
}
} // namespace

CWin32Handle::~CWin32Handle() {
    Close();
}

bool CWin32Handle::Open(const std::string& path, bool shared) {
    Close();
    const DWORD share = shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    const HANDLE handle = CreateFileW(CWideText::FromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, share,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_handle = handle;
    if (!m_event) {
        Close();
        return false;
    }
    return true;
}

void CWin32Handle::Close() {
    if (m_event)
        CloseHandle(m_event);
    if (m_handle)
        CloseHandle(m_handle);
    m_event = nullptr;
    m_handle = nullptr;
}

bool CWin32Handle::CanOpenDirectory(const std::string& path) {
    const HANDLE directory =
        CreateFileW(CWideText::FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (directory == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(directory);
    return true;
}

bool CWin32Handle::Transfer(bool reading, uint8_t* bytes, uint32_t count, uint32_t timeoutMs,
                            const CCancelSignal& cancel, uint32_t* moved) {
    *moved = 0;
    if (!m_handle || cancel.IsCancelled())
        return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_event;
    ResetEvent(m_event);
    const BOOL started = reading ? ReadFile(m_handle, bytes, count, nullptr, &overlapped)
                                 : WriteFile(m_handle, bytes, count, nullptr, &overlapped);
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return false;
    const HANDLE events[] = {m_event, cancel.NativeHandle()};
    const DWORD waited = WaitForMultipleObjects(cancel.NativeHandle() ? 2 : 1, events, FALSE, timeoutMs);
    if (waited != WAIT_OBJECT_0)
        CancelIoEx(m_handle, &overlapped);
    DWORD done = 0;
    const bool finished = GetOverlappedResult(m_handle, &overlapped, &done, TRUE) != FALSE;
    *moved = done;
    // A finished transfer of nothing is a pipe whose other end has gone.
    return finished && done > 0;
}

bool CWin32Handle::Read(uint8_t* buffer, uint32_t count, uint32_t* done, uint32_t timeoutMs,
                        const CCancelSignal& cancel) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint32_t gathered = 0;
    bool ok = true;
    while (ok && gathered < count) {
        uint32_t moved = 0;
        ok = Transfer(true, buffer + gathered, count - gathered, RemainingMs(deadline), cancel, &moved);
        gathered += moved;
    }
    if (done)
        *done = gathered;
    return gathered == count;
}

bool CWin32Handle::Write(const uint8_t* bytes, uint32_t count, uint32_t* done, const CCancelSignal& cancel) {
    uint32_t sent = 0;
    bool ok = true;
    while (ok && sent < count) {
        uint32_t moved = 0;
        ok = Transfer(false, const_cast<uint8_t*>(bytes) + sent, count - sent, INFINITE, cancel, &moved);
        sent += moved;
    }
    if (done)
        *done = sent;
    return sent == count;
}
