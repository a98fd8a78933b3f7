#include "CScriptedDevice.h"

#include <chrono>

CScriptedDevice::CScriptedDevice(Responder responder, bool opens)
    : m_responder(std::move(responder)), m_opens(opens) {}

bool CScriptedDevice::Open(int32_t /*port*/) {
    m_open.store(m_opens);
    return m_opens;
}

void CScriptedDevice::Close() {
    m_open.store(false);
    m_closed.store(true);
}

bool CScriptedDevice::Write(const uint8_t* bytes, uint32_t count, uint32_t* written) {
    Bytes frame(bytes, bytes + count);
    Bytes reply = m_responder ? m_responder(frame) : Bytes{};
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled)
            return false;
        m_frames.push_back(std::move(frame));
        m_input.insert(m_input.end(), reply.begin(), reply.end());
    }
    m_changed.notify_all();
    if (written)
        *written = count;
    return true;
}

bool CScriptedDevice::Read(uint8_t* buffer, uint32_t count, uint32_t* read, uint32_t timeoutMs) {
    std::unique_lock lock(m_mutex);
    const bool complete = m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                             [&] { return m_cancelled || m_input.size() >= count; });
    const size_t available = std::min<size_t>(count, m_input.size());
    std::copy_n(m_input.begin(), available, buffer);
    m_input.erase(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(available));
    if (read)
        *read = static_cast<uint32_t>(available);
    return complete && !m_cancelled;
}

void CScriptedDevice::CancelIo() {
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
}

std::vector<CScriptedDevice::Bytes> CScriptedDevice::Frames() const {
    std::lock_guard lock(m_mutex);
    return m_frames;
}

std::vector<std::string> CScriptedDevice::Mnemonics() const {
    std::vector<std::string> mnemonics;
    for (const Bytes& frame : Frames()) {
        if (frame.size() >= 3)
            mnemonics.emplace_back(frame.begin() + 1, frame.begin() + 3);
    }
    return mnemonics;
}
