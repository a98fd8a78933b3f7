#include "device/CCancelSignal.h"

#include <windows.h>

CCancelSignal::CCancelSignal() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CCancelSignal::~CCancelSignal() {
    if (m_event)
        CloseHandle(m_event);
}

void CCancelSignal::Cancel() {
    m_cancelled = true;
    if (m_event)
        SetEvent(m_event);
}

void CCancelSignal::Reset() {
    if (m_event)
        ResetEvent(m_event);
    m_cancelled = false;
}

bool CCancelSignal::IsCancelled() const {
    return m_cancelled;
}

bool CCancelSignal::Sleep(int milliseconds) const {
    if (m_cancelled)
        return false;
    const DWORD wait = milliseconds < 0 ? INFINITE : static_cast<DWORD>(milliseconds);
    if (!m_event) {
        ::Sleep(wait);
        return !m_cancelled;
    }
    return WaitForSingleObject(m_event, wait) == WAIT_TIMEOUT;
}
