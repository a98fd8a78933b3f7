#include "model/CRecordStore.h"

#include <utility>

#include "platform/CLocalTime.h"

CRecordStore::CRecordStore()
    : m_channels{CChannelRecord(true), CChannelRecord(true), CChannelRecord(false), CChannelRecord(true),
                 CChannelRecord(true)} {}

bool CRecordStore::AddValue(int channel, float value) {
    CChannelRecord* record = Channel(channel);
    if (record == nullptr)
        return false;
    for (const auto& [owner, observer] : m_observers)
        observer(channel, value);
    ++m_revisions[channel]; // a full channel still takes the value as its current one
    if (!record->Add(value))
        return false;
    m_lastSampleTime = CLocalTime::Now();
    return true;
}

void CRecordStore::SetObserver(const void* owner, Observer observer) {
    RemoveObserver(owner);
    m_observers.emplace_back(owner, std::move(observer));
}

void CRecordStore::RemoveObserver(const void* owner) {
    std::erase_if(m_observers, [owner](const auto& entry) { return entry.first == owner; });
}

void CRecordStore::ResetAll() {
    for (CChannelRecord& record : m_channels)
        record.Reset();
    TouchAll();
}

void CRecordStore::StartRecording(bool resetFirst) {
    if (resetFirst)
        ResetAll();
    m_startTime = CLocalTime::Now();
}

void CRecordStore::MarkStop() {
    m_lastSampleTime = CLocalTime::Now();
}

void CRecordStore::RestartPowerReferences() {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        if (IsPowerChannel(channel))
            m_channels[channel].RestartReference();
    }
    TouchAll();
}

void CRecordStore::FollowRelativeMode(bool relative) {
    if (relative == m_relative)
        return;
    m_relative = relative;
    RestartPowerReferences();
}

void CRecordStore::SetPulseTiming(float dutyCyclePercent, float burstWidthUs) {
    m_dutyCycle = dutyCyclePercent;
    m_burstWidth = burstWidthUs;
}

void CRecordStore::ForgetCurrentValues() {
    for (CChannelRecord& record : m_channels)
        record.ForgetCurrent();
    TouchAll();
}

void CRecordStore::TouchAll() {
    for (uint64_t& revision : m_revisions)
        ++revision;
}

uint64_t CRecordStore::Revision(int channel) const {
    return Channel(channel) != nullptr ? m_revisions[channel] : 0;
}

std::span<const float> CRecordStore::Series(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Series() : std::span<const float>();
}

int CRecordStore::Count(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Count() : 0;
}

bool CRecordStore::IsEmpty(int channel) const {
    return Count(channel) == 0;
}

float CRecordStore::Last(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Last() : 0.0f;
}

std::optional<float> CRecordStore::Current(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Current() : std::nullopt;
}

bool CRecordStore::HasExtremes(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr && record->HasExtremes();
}

float CRecordStore::Reference(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Reference() : 0.0f;
}

float CRecordStore::Minimum(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Minimum() : 0.0f;
}

float CRecordStore::Maximum(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Maximum() : 0.0f;
}

float CRecordStore::Average(int channel) const {
    const CChannelRecord* record = Channel(channel);
    return record != nullptr ? record->Average() : 0.0f;
}

const CChannelRecord* CRecordStore::Channel(int channel) const {
    return channel >= 0 && channel < kChannelCount ? &m_channels[channel] : nullptr;
}

CChannelRecord* CRecordStore::Channel(int channel) {
    return const_cast<CChannelRecord*>(std::as_const(*this).Channel(channel));
}
