#include "sim/CLoggingMemory.h"

#include <algorithm>
#include <bit>

#include "sim/CReplyFrame.h"

namespace {
constexpr int32_t kChannelBits = 0x0F;
constexpr size_t kBlockBytes = 512;
constexpr int32_t kFirstBlockSamples = 251;
constexpr int32_t kBlockSamples = 250;

// Samples follow the head in the first block; later blocks start with samples.
size_t SampleOffset(int32_t sample) {
    if (sample < kFirstBlockSamples)
        return 2 + 2 * static_cast<size_t>(sample);
    const int32_t later = sample - kFirstBlockSamples;
    return kBlockBytes * static_cast<size_t>(1 + later / kBlockSamples) +
           2 * static_cast<size_t>(later % kBlockSamples);
}

uint16_t ToSample(int32_t centiDbm) {
    return static_cast<uint16_t>(std::clamp(centiDbm, 0, 0xFFFF));
}
} // namespace

CLoggingMemory::CLoggingMemory(const SignalSetting& signal, uint32_t seed, double speedUp)
    : m_signal(signal, seed), m_speedUp(speedUp) {}

int32_t CLoggingMemory::ChannelCount() const {
    return std::popcount(static_cast<uint32_t>(m_run[WordChannels] & kChannelBits));
}

void CLoggingMemory::SetRunning(bool on) {
    CatchUp();
    m_running = false;
    if (!on)
        return;
    m_run = m_settings;
    m_run[WordInterval] = std::max(m_run[WordInterval], 1);
    const int32_t capacity = ChannelCount() > 0 ? kCapacitySamples / ChannelCount() : kCapacitySamples;
    m_run[WordRecordCount] = std::clamp(m_run[WordRecordCount], 0, capacity);
    m_samples.clear();
    m_recordsLogged = 0;
    m_runStart = std::chrono::steady_clock::now();
    m_running = true;
    CatchUp();
}

void CLoggingMemory::Erase() {
    m_running = false;
    m_samples.clear();
    m_recordsLogged = 0;
}

// Records are made when they are looked at: the first at the start of the run, then one per interval.
void CLoggingMemory::CatchUp() {
    if (!m_running)
        return;
    int64_t due = m_run[WordRecordCount];
    if (m_speedUp > 0) {
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_runStart;
        const double sensorSeconds = elapsed.count() * m_speedUp;
        due = std::min<int64_t>(due, static_cast<int64_t>(sensorSeconds / m_run[WordInterval]) + 1);
    }
    while (m_recordsLogged < due)
        LogRecord();
    if (m_recordsLogged >= m_run[WordRecordCount])
        m_running = false;
}

void CLoggingMemory::LogRecord() {
    const int32_t channels = m_run[WordChannels];
    if (channels & 0x01)
        m_samples.push_back(ToSample(m_signal.Forward()));
    if (channels & 0x02)
        m_samples.push_back(ToSample(m_signal.Peak()));
    if (channels & 0x04)
        m_samples.push_back(ToSample(m_signal.Reverse()));
    if (channels & 0x08)
        m_samples.push_back(ToSample(m_signal.Pulse(m_run[WordPeriodCode])[0]));
    ++m_recordsLogged;
}

std::array<int32_t, CLoggingMemory::kStatusWords> CLoggingMemory::Status() {
    CatchUp();
    std::array<int32_t, kStatusWords> status = m_run;
    status[WordRunning] = m_running ? 1 : 0;
    status[WordRecordsLogged] = m_recordsLogged;
    status[WordSamples] = static_cast<int32_t>(m_samples.size());
    return status;
}

std::vector<uint8_t> CLoggingMemory::Download(int32_t blocks) {
    CatchUp();
    const int32_t served = std::clamp(blocks, 0, kMaxBlocks);
    if (served == 0)
        return {};
    std::vector<uint8_t> bytes(kBlockBytes * static_cast<size_t>(served), 0);
    bytes[0] = '[';
    bytes[1] = 'D';
    for (size_t i = 0; i < m_samples.size(); ++i) {
        const size_t offset = SampleOffset(static_cast<int32_t>(i));
        if (offset + 2 > bytes.size())
            break;
        CReplyFrame::PutUint16(bytes, offset, m_samples[i]);
    }
    return bytes;
}
