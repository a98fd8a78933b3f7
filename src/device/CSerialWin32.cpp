#include "device/CSerial.h"

#include "platform/CWideText.h"

#include <windows.h>

namespace {
constexpr DWORD kDefaultConfigSize = 52;

int32_t Win32Error() {
    return static_cast<int32_t>(::GetLastError());
}

// GetDefaultCommConfigW wants the bare port name ("COM3"), not the device path.
std::wstring PortName(const std::wstring& device) {
    const std::wstring prefix = L"\\\\.\\";
    return device.compare(0, prefix.size(), prefix) == 0 ? device.substr(prefix.size()) : device;
}

void Complete(CSerial::Overlapped* overlapped, uint32_t transferred, bool completed) {
    if (overlapped) {
        overlapped->completed = completed;
        overlapped->transferred = transferred;
    }
}
} // namespace

CSerial::~CSerial() {
    Close();
}

int CSerial::ProbeDevice(const std::string& device) {
    const HANDLE port = CreateFileW(CWideText::FromUtf8(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return static_cast<int>(::GetLastError());
    CloseHandle(port);
    return 0;
}

int32_t CSerial::Record(int32_t error) {
    m_lastError = error;
    return error;
}

int32_t CSerial::Open(const std::string& device, uint32_t inQueue, uint32_t outQueue, bool overlapped) {
    if (IsOpen())
        return Record(kAlreadyOpen);
    const std::wstring name = CWideText::FromUtf8(device);
    const HANDLE port = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return Record(Win32Error());
    m_port = port;
    m_cancelled = false;
    if (overlapped) {
        m_completion = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!m_completion) {
            const int32_t error = Win32Error();
            Close();
            return Record(error);
        }
    }
    if ((inQueue != 0 || outQueue != 0) && !SetupComm(m_port, inQueue, outQueue)) {
        const int32_t error = Win32Error();
        Close();
        return Record(error);
    }
    // A port left in blocking read mode would make every reply read wait for ever: refuse it.
    if (const int32_t error = SetReadMode(0); error != 0) {
        Close();
        return Record(error);
    }
    // Drivers without a default configuration are common; the port works without one.
    alignas(COMMCONFIG) unsigned char config[kDefaultConfigSize] = {};
    DWORD size = sizeof config;
    auto* commConfig = reinterpret_cast<COMMCONFIG*>(config);
    if (GetDefaultCommConfigW(PortName(name).c_str(), commConfig, &size))
        SetCommConfig(m_port, commConfig, size);
    return Record(0);
}

int32_t CSerial::Close() {
    if (!IsOpen())
        return Record(0);
    if (m_completion)
        CloseHandle(m_completion);
    CloseHandle(m_port);
    m_completion = nullptr;
    m_port = nullptr;
    m_cancelled = false;
    return Record(0);
}

void CSerial::CancelIo() {
    m_cancelled = true;
    if (const HANDLE port = m_port)
        CancelIoEx(port, nullptr);
}

int32_t CSerial::ReadState(void* dcb) {
    if (!IsOpen())
        return kNotOpen;
    auto* state = static_cast<DCB*>(dcb);
    *state = DCB{};
    state->DCBlength = sizeof(DCB);
    return GetCommState(m_port, state) ? 0 : Win32Error();
}

int32_t CSerial::UpdateState(const std::function<int32_t(void*)>& change) {
    DCB state{};
    if (const int32_t error = ReadState(&state); error != 0)
        return Record(error);
    if (const int32_t error = change(&state); error != 0)
        return Record(error);
    return Record(SetCommState(m_port, &state) ? 0 : Win32Error());
}

int32_t CSerial::SetLine(uint32_t baudRate, uint8_t dataBits, uint8_t parity, uint8_t stopBits) {
    return UpdateState([&](void* dcb) {
        auto& state = *static_cast<DCB*>(dcb);
        state.BaudRate = baudRate;
        state.ByteSize = dataBits;
        state.Parity = parity;
        state.StopBits = stopBits;
        state.fParity = parity != 0;
        return 0;
    });
}

int32_t CSerial::SetReadMode(int32_t mode) {
    if (!IsOpen())
        return Record(kNotOpen);
    if (mode != 0 && mode != 1)
        return Record(kInvalidMode);
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(m_port, &timeouts))
        return Record(Win32Error());
    timeouts.ReadIntervalTimeout = mode == 0 ? MAXDWORD : 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    if (!SetCommTimeouts(m_port, &timeouts))
        return Record(Win32Error());
    m_readMode = mode;
    return Record(0);
}

int32_t CSerial::CheckTransfer(const Overlapped* overlapped, int32_t timeoutMs) const {
    if (!IsOpen())
        return kNotOpen;
    if (!m_completion && (overlapped != nullptr || timeoutMs != kInfinite))
        return kNoOverlappedSupport;
    return m_cancelled ? static_cast<int32_t>(ERROR_OPERATION_ABORTED) : 0;
}

// The platform's OVERLAPPED lives on this stack frame, so nothing may stay pending when it
// returns: a time-out cancels and collects the operation, and so does an operation a caller's
// structure would leave pending (the caller then sees it incomplete and tries again).
int32_t CSerial::Transfer(const std::function<bool(void*, unsigned long*)>& start, Overlapped* overlapped,
                          int32_t timeoutMs, uint32_t* done) {
    m_lastError = 0;
    *done = 0;
    Complete(overlapped, 0, false);
    if (const int32_t error = CheckTransfer(overlapped, timeoutMs); error != 0)
        return Record(error);
    OVERLAPPED platform{};
    platform.hEvent = m_completion;
    OVERLAPPED* used = m_completion ? &platform : nullptr;
    if (used)
        ResetEvent(m_completion);
    DWORD count = 0;
    if (start(used, &count)) {
        *done = count;
        Complete(overlapped, *done, true);
        return Record(0);
    }
    if (::GetLastError() != ERROR_IO_PENDING)
        return Record(Win32Error());
    const DWORD wait = overlapped ? 0 : (timeoutMs == kInfinite ? INFINITE : static_cast<DWORD>(timeoutMs));
    const DWORD waited = WaitForSingleObject(m_completion, wait);
    if (waited == WAIT_TIMEOUT)
        ::CancelIo(m_port);
    else if (waited != WAIT_OBJECT_0) {
        const int32_t error = Win32Error();
        ::CancelIo(m_port);
        GetOverlappedResult(m_port, &platform, &count, TRUE);
        return Record(error);
    }
    const bool finished = GetOverlappedResult(m_port, &platform, &count, TRUE) != FALSE;
    const int32_t error = finished ? 0 : Win32Error();
    *done = count;
    if (overlapped) {
        Complete(overlapped, *done, finished);
        return Record(finished || error == ERROR_OPERATION_ABORTED ? 0 : error);
    }
    if (waited == WAIT_TIMEOUT && !finished)
        return Record(kTimedOut);
    return Record(error);
}

// In non-blocking mode only what has arrived is asked for: some drivers (Wine's among them)
// leave an overlapped read pending until data comes despite the time-outs that forbid it.
uint32_t CSerial::ArrivedBytes(uint32_t wanted) {
    COMSTAT status{};
    DWORD errors = 0;
    if (m_readMode != 0 || !IsOpen() || !ClearCommError(m_port, &errors, &status))
        return wanted;
    return status.cbInQue < wanted ? status.cbInQue : wanted;
}

int32_t CSerial::Read(void* buffer, uint32_t count, uint32_t* read, Overlapped* overlapped,
                      int32_t timeoutMs) {
    uint32_t unused = 0;
    return Transfer(
        [&](void* platform, unsigned long* done) {
            const uint32_t asked = ArrivedBytes(count);
            *done = 0;
            return asked == 0 ||
                   ReadFile(m_port, buffer, asked, done, static_cast<OVERLAPPED*>(platform)) != FALSE;
        },
        overlapped, timeoutMs, read ? read : &unused);
}

int32_t CSerial::Write(const void* bytes, uint32_t count, uint32_t* written, Overlapped* overlapped,
                       int32_t timeoutMs) {
    uint32_t unused = 0;
    return Transfer(
        [&](void* platform, unsigned long* done) {
            return WriteFile(m_port, bytes, count, done, static_cast<OVERLAPPED*>(platform)) != FALSE;
        },
        overlapped, timeoutMs, written ? written : &unused);
}
