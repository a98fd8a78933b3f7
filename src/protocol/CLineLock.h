#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// The sensor line, held by one exchange at a time. Taking it always has a time limit, so a
// caller can never wait for ever behind an exchange that hangs. Meets the timed-lockable
// requirements that std::unique_lock needs for its time-limited constructor.
class CLineLock {
public:
    template <class Rep, class Period> bool try_lock_for(const std::chrono::duration<Rep, Period>& limit) {
        std::unique_lock lock(m_mutex);
        if (!m_released.wait_for(lock, limit, [this] { return !m_held; }))
            return false;
        m_held = true;
        return true;
    }
    void unlock();

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_held = false;
};
