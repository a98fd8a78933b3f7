#include "device/CSerialDevice.h"

#include "device/CPortRegistry.h"

#include <algorithm>
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

// Waits for input and reads it until the reply is complete or the time is up; the port is in
// blocking mode only for this, as the discard before each command must not wait.
bool CSerialDevice::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    uint32_t gathered = 0;
    m_serial.SetReadMode(1);
    const int32_t timeout = static_cast<int32_t>(std::min<uint32_t>(timeoutMs, INT32_MAX));
    const bool complete = m_serial.Read(buffer, count, &gathered, nullptr, timeout) == 0 && gathered == count;
    m_serial.SetReadMode(0);
    if (read)
        *read = gathered;
    return complete;
}

void CSerialDevice::CancelIo() {
    m_pauseCancel.Cancel();
    m_serial.CancelIo();
}
