#pragma once

#include "device/CCancelSignal.h"
#include "device/CPowerDevice.h"
#include "device/CSerial.h"

// The sensor on a COM port: 9600 baud 8N1, a fixed pause after each command.
class CSerialDevice : public CPowerDevice {
public:
    // Each command is followed by this pause before the reply is read.
    static constexpr int kWritePauseMs = 500;

    // Opens COM port n as resolved by CPortRegistry.
    bool Open(int32_t port) override;
    void Close() override;
    bool IsOpen() override;
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override;
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) override;
    void CancelIo() override;
    // The sensor relies on the pause; only benchmarks of the line itself leave it out.
    void SetWritePauseMs(int pauseMs) { m_writePauseMs = pauseMs; }

private:
    void DiscardInput();
    CSerial m_serial;
    CCancelSignal m_pauseCancel;
    int m_writePauseMs = kWritePauseMs;
};
