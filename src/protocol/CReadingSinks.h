#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>

class CReadingReceiver;

// Where the open screens receive their readings: one slot per kind of screen. Slots are
// written on the user-interface thread and read by the acquisition worker.
class CReadingSinks {
public:
    enum class Kind { Measurement, Pulse, Ccdf };
    static constexpr size_t kKindCount = 3;

    CReadingReceiver* Get(Kind kind) const;
    // Waits for a hand-over to the slot's present sink to end; once Set returns, no call can
    // still reach a sink that was replaced, so it may be destroyed.
    void Set(Kind kind, CReadingReceiver* sink);
    // Empties every slot that holds the sink.
    void Remove(const CReadingReceiver* sink);
    void Clear();
    bool IsAnySet() const;

    // Calls `call` with the slot's sink, if one is set. Sinks must not block.
    void Call(Kind kind, const std::function<void(CReadingReceiver&)>& call);

private:
    static size_t Index(Kind kind) { return static_cast<size_t>(kind); }

    // Recursive so that a sink may look at (or even change) the slots from inside its call.
    std::recursive_mutex m_call;
    std::array<std::atomic<CReadingReceiver*>, kKindCount> m_slots{};
};
