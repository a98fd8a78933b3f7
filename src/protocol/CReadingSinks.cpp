#include "protocol/CReadingSinks.h"

CReadingReceiver* CReadingSinks::Get(Kind kind) const {
    return m_slots[Index(kind)].load();
}

void CReadingSinks::Set(Kind kind, CReadingReceiver* sink) {
    std::lock_guard lock(m_call);
    m_slots[Index(kind)].store(sink);
}

void CReadingSinks::Remove(const CReadingReceiver* sink) {
    std::lock_guard lock(m_call);
    for (auto& slot : m_slots) {
        if (slot.load() == sink)
            slot.store(nullptr);
    }
}

void CReadingSinks::Clear() {
    std::lock_guard lock(m_call);
    for (auto& slot : m_slots)
        slot.store(nullptr);
}

bool CReadingSinks::IsAnySet() const {
    for (const auto& slot : m_slots) {
        if (slot.load() != nullptr)
            return true;
    }
    return false;
}

void CReadingSinks::Call(Kind kind, const std::function<void(CReadingReceiver&)>& call) {
    std::lock_guard lock(m_call);
    if (CReadingReceiver* sink = Get(kind))
        call(*sink);
}
