#pragma once

#include "device/CPowerDevice.h"

#include <functional>
#include <memory>
#include <mutex>

// The sensor through its USB driver. At open time it picks one of the two driver variants
// and forwards everything to it.
class CUsbDevice : public CPowerDevice {
public:
    enum class Variant { Older, Newer };
    using VariantChooser = std::function<Variant()>;

    // PELMORA_USB_VARIANT "older" or "newer" decides when set; otherwise the newer variant, on
    // Windows the one for the system's version.
    explicit CUsbDevice(VariantChooser chooser = DefaultVariant);
    static Variant DefaultVariant();

    bool Open(int32_t port) override;
    void Close() override;
    bool IsOpen() override;
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override;
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) override;
    void CancelIo() override;

private:
    VariantChooser m_chooser;
    // Replaced by Open and Close on the thread that uses the transport while CancelIo may come
    // from another: the lock keeps an inner device alive while it is being cancelled.
    std::mutex m_innerLock;
    std::unique_ptr<CPowerDevice> m_inner;
};
