#pragma once

#include <cstdint>
#include <deque>
#include <string>

// The instrument's error queue: oldest first, at most kCapacity entries; when it is full the
// newest entry becomes "Queue overflow", as IEEE 488.2 asks.
class CScpiErrorQueue {
public:
    static constexpr size_t kCapacity = 32;

    enum Code : int32_t {
        DataTypeError = -104,
        ParameterNotAllowed = -108,
        MissingParameter = -109,
        UndefinedHeader = -113,
        InvalidSuffix = -131,
        SettingsConflict = -221,
        DataOutOfRange = -222,
        DataStale = -230,
        HardwareError = -240,
        QueueOverflow = -350,
        InputBufferOverrun = -363,
    };

    // reason, when given, follows the standard text after a semicolon.
    void Push(int32_t code, const std::string& reason = {});
    // `0,"No error"` when empty.
    std::string Pop();
    void Clear() { m_entries.clear(); }
    bool IsEmpty() const { return m_entries.empty(); }

    static const char* Text(int32_t code);

private:
    std::deque<std::string> m_entries;
};
