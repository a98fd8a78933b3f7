#pragma once

#include <cstdint>

// The byte transport to a sensor (COM port or USB). Transports know nothing of the protocol.
class CPowerDevice {
public:
    virtual ~CPowerDevice() = default;
    virtual bool Open(int32_t port) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() = 0;
    virtual bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) = 0;
    virtual bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) = 0;
    // Makes any read, write or pause in progress on another thread return (with failure) at
    // once, and every later one too until the transport is closed. Lets a disconnect end a
    // long wait without abandoning the thread that holds the transport.
    virtual void CancelIo() = 0;
};
