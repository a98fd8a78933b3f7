#include "appcore/CScpiErrorQueue.h"

void CScpiErrorQueue::Push(int32_t code, const std::string& reason) {
    std::string entry = std::to_string(code) + ",\"" + Text(code);
    if (!reason.empty())
        entry += ";" + reason;
    entry += "\"";
    if (m_entries.size() < kCapacity) {
        m_entries.push_back(entry);
        return;
    }
    m_entries.back() = std::to_string(QueueOverflow) + ",\"" + Text(QueueOverflow) + "\"";
}

std::string CScpiErrorQueue::Pop() {
    if (m_entries.empty())
        return "0,\"No error\"";
    std::string entry = m_entries.front();
    m_entries.pop_front();
    return entry;
}

const char* CScpiErrorQueue::Text(int32_t code) {
    switch (code) {
    case DataTypeError:
        return "Data type error";
    case ParameterNotAllowed:
        return "Parameter not allowed";
    case MissingParameter:
        return "Missing parameter";
    case UndefinedHeader:
        return "Undefined header";
    case InvalidSuffix:
        return "Invalid suffix";
    case SettingsConflict:
        return "Settings conflict";
    case DataOutOfRange:
        return "Data out of range";
    case DataStale:
        return "Data corrupt or stale";
    case HardwareError:
        return "Hardware error";
    case QueueOverflow:
        return "Queue overflow";
    case InputBufferOverrun:
        return "Input buffer overrun";
    default:
        return "Error";
    }
}
