#pragma once

#include "device/CPowerDevice.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// An in-memory transport: every written frame is recorded and answered by a responder
// function whose bytes the next reads consume. Reads wait for their bytes until the
// time-out, or until CancelIo.
class CScriptedDevice : public CPowerDevice {
public:
    using Bytes = std::vector<uint8_t>;
    using Responder = std::function<Bytes(const Bytes& frame)>;

    explicit CScriptedDevice(Responder responder, bool opens = true);

    bool Open(int32_t port) override;
    void Close() override;
    bool IsOpen() override { return m_open.load(); }
    bool Write(const uint8_t* bytes, uint32_t count, uint32_t* written) override;
    bool Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) override;
    void CancelIo() override;

    // Frames written so far, each as text with the argument bytes kept raw.
    std::vector<Bytes> Frames() const;
    // The two-letter mnemonics written so far, in order ("GD", "AS", ...).
    std::vector<std::string> Mnemonics() const;
    bool WasClosed() const { return m_closed.load(); }

private:
    Responder m_responder;
    bool m_opens;
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_closed{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<uint8_t> m_input;
    std::vector<Bytes> m_frames;
    bool m_cancelled = false;
};
