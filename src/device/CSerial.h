#pragma once

#include "device/CCancelSignal.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

struct termios;

// One serial port: a tty device (CSerialPosix.cpp) or a Windows COM port such as "\\.\COM3"
// (CSerialWin32.cpp). Every operation except the getters records its outcome in the last error
// and returns it: 0, one of the codes below, or the failing call's errno (POSIX) or
// GetLastError code (Windows), passed through unchanged.
class CSerial {
public:
    static constexpr int32_t kNotOpen = 6;
    static constexpr int32_t kNoOverlappedSupport = 1;
    static constexpr int32_t kAlreadyOpen = 1247;
    static constexpr int32_t kTimedOut = 1460;
    static constexpr int32_t kInvalidMode = static_cast<int32_t>(0x80070057);
    static constexpr int32_t kInfinite = -1;

    // Caller-managed completion: an operation that cannot finish at once leaves completed
    // false and returns 0; the caller waits for the port and tries again.
    struct Overlapped {
        bool completed = false;
        uint32_t transferred = 0;
    };

    CSerial() = default;
    virtual ~CSerial();
    CSerial(const CSerial&) = delete;
    CSerial& operator=(const CSerial&) = delete;

    // The device is opened exclusively: a second open, even by root or this process, fails.
    int32_t Open(const std::string& device, uint32_t inQueue, uint32_t outQueue, bool overlapped);
    int32_t Close();
    // parity: 0 none, 1 odd, 2 even, 3 mark, 4 space; stopBits: 0 one, 1 one and a half, 2 two.
    int32_t SetLine(uint32_t baudRate, uint8_t dataBits, uint8_t parity, uint8_t stopBits);
    // 0 non-blocking (a read returns at once with what has arrived), 1 blocking. Virtual so
    // that a test can play a driver that refuses the configuration.
    virtual int32_t SetReadMode(int32_t mode);
    int32_t Write(const void* bytes, uint32_t count, uint32_t* written, Overlapped* overlapped,
                  int32_t timeoutMs);
    int32_t Read(void* buffer, uint32_t count, uint32_t* read, Overlapped* overlapped, int32_t timeoutMs);

#ifdef _WIN32
    bool IsOpen() const {
        return m_port != nullptr;
    }
#else
    bool IsOpen() const {
        return m_fd >= 0;
    }
#endif
    int32_t GetLastError() const {
        return m_lastError;
    }
    // Ends a wait in progress on another thread (error ECANCELED, on Windows
    // ERROR_OPERATION_ABORTED); later operations fail the same way until Close.
    void CancelIo();
    // Tries an exclusive open of a device and closes it again: 0 or the error of the open.
    static int ProbeDevice(const std::string& device);

private:
#ifdef _WIN32
    int32_t Record(int32_t error);
    int32_t CheckTransfer(const Overlapped* overlapped, int32_t timeoutMs) const;
    // Reads the port state, lets change modify it and writes it back.
    int32_t UpdateState(const std::function<int32_t(void* dcb)>& change);
    int32_t ReadState(void* dcb);
    uint32_t ArrivedBytes(uint32_t wanted);
    // Runs a read or write as the overlapped completion rules have it.
    int32_t Transfer(const std::function<bool(void* overlapped, unsigned long* done)>& start,
                     Overlapped* overlapped, int32_t timeoutMs, uint32_t* done);

    int32_t m_lastError = 0;
    void* m_port = nullptr;
    void* m_completion = nullptr;
    int32_t m_readMode = 0;
    std::atomic<bool> m_cancelled{false};
#else
    static int OpenExclusive(const std::string& device, int* fd);
    int32_t Record(int32_t error);
    int32_t CheckTransfer(const Overlapped* overlapped, int32_t timeoutMs);
    int32_t ApplyDefaultConfig();
    // Reads the line settings into *state; 0 or an error.
    int32_t ReadState(termios* state);
    // Reads the line settings, lets change modify them and writes them back.
    int32_t UpdateState(const std::function<int32_t(termios&)>& change);
    static void Complete(Overlapped* overlapped, uint32_t transferred, bool completed);
    static int32_t FromIoResult(int result);

    int32_t m_lastError = 0;
    int m_fd = -1;
    bool m_overlapped = false;
    int32_t m_readMode = 0;
    CCancelSignal m_cancel;
#endif
};
