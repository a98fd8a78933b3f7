#include "device/CSerialDevice.h"

#include "device/CPortRegistry.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

bool CSerialDevice::Open(int32_t port) {
    if (port <= 0)
        return false;
    CPortRegistry::Refresh();
    if (m_serial.Open(CPortRegistry::DevicePath(port), 0, 0, true) != 0)
        return false;
    m_serial.SetLine(9600, 8, 0, 0);
    return true;
}

void CSerialDevice::Close() {
    m_serial.Close();
    m_pauseCancel.Reset();
}

bool CSerialDevice::IsOpen() {
    return m_serial.IsOpen();
}

// A failed write is reported, so that an exchange with a vanished port fails at once
// instead of waiting for the reply's time-out.
bool CSerialDevice::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    DiscardInput();
    if (m_serial.Write(bytes, count, written, nullptr, CSerial::kInfinite) != 0)
        return false;
    return m_pauseCancel.Sleep(m_writePauseMs);
}

// A reply that came after its exchange gave up must not be taken for the next command's reply.
void CSerialDevice::DiscardInput() {
    uint8_t scratch[4096];
    for (int round = 0; round < 64; ++round) {
        uint32_t got = 0;
        if (m_serial.Read(scratch, sizeof scratch, &got, nullptr, CSerial::kInfinite) != 0 || got == 0)
            return;
    }
}

// The port returns at once with what has arrived; between reads we wait for more input for at
// most the time left.
bool CSerialDevice::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    uint32_t gathered = 0;
    bool complete = false;
    for (;;) {
        uint32_t got = 0;
        if (m_serial.Read(buffer + gathered, count - gathered, &got, nullptr, CSerial::kInfinite) != 0)
            break;
        gathered += got;
        complete = gathered == count;
        const auto spent =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (complete || static_cast<uint64_t>(spent) >= timeoutMs)
            break;
        const auto left = std::min<uint64_t>(timeoutMs - static_cast<uint64_t>(spent), INT32_MAX);
        const int32_t waited = m_serial.WaitEvent(nullptr, static_cast<int32_t>(left));
        if (waited != 0 && waited != CSerial::kTimedOut)
            break;
    }
    if (read)
        *read = gathered;
    return complete;
}

void CSerialDevice::CancelIo() {
    m_pauseCancel.Cancel();
    m_serial.CancelIo();
}
