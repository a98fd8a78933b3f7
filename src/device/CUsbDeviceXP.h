#pragma once

#include "device/CCancelSignal.h"
#include "device/CPowerDevice.h"

#ifdef _WIN32
#include "device/CWin32Handle.h"
#endif

#include <string>

// The older USB driver variant: one connection used in both directions.
class CUsbDeviceXP : public CPowerDevice {
public:
    static constexpr const char* kInterfaceClass = "{EC347E99-6664-4F1F-817D-5317C226BDC1}";
    static constexpr const char* kEndpoint = "ENDPOINT";

    ~CUsbDeviceXP() override;
    // The port number is ignored.
    bool Open(int32_t port) override;
    void Close() override;
    bool IsOpen() override;
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override;
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) override;
    void CancelIo() override;

private:
#ifdef _WIN32
    CWin32Handle m_device;
#else
    static int Connect(const std::string& endpoint);

    int m_fd = -1;
#endif
    CCancelSignal m_cancel;
};
