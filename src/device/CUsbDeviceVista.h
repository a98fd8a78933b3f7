#pragma once

#include "device/CCancelSignal.h"
#include "device/CPowerDevice.h"

#ifdef _WIN32
#include "device/CWin32Handle.h"
#endif

// The newer USB driver variant: one pipe to read from ("PIPE01"), one to write to ("PIPE00").
class CUsbDeviceVista : public CPowerDevice {
public:
    static constexpr const char* kInterfaceClass = "{00873FDF-61A8-11D1-AA5E-00C04FB1728B}";
    static constexpr const char* kReadPipe = "PIPE01";
    static constexpr const char* kWritePipe = "PIPE00";

    ~CUsbDeviceVista() override;
    // The port number is ignored.
    bool Open(int32_t port) override;
    void Close() override;
    bool IsOpen() override;
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override;
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) override;
    void CancelIo() override;

private:
#ifdef _WIN32
    static bool OpenPipe(const char* pipe, CWin32Handle& handle);

    CWin32Handle m_read;
    CWin32Handle m_write;
#else
    static int OpenPipe(const char* pipe, int flags);

    int m_readFd = -1;
    int m_writeFd = -1;
#endif
    CCancelSignal m_cancel;
};
