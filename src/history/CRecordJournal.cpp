#include "history/CRecordJournal.h"

#include "history/CHistoryRecorder.h"
#include "platform/CAppPaths.h"
#include "platform/CFilePath.h"
#include "platform/CLittleEndian.h"
#include "platform/CNativeFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr char kMagic[8] = {'P', 'E', 'L', 'J', 'R', 'N', 'L', '1'};
constexpr std::size_t kBlockHeadSize = 8;
// A block never claims more than this; a larger length is damage, not data.
constexpr uint32_t kMaxBlockBytes = 64u * 1024 * 1024;

uint32_t Crc32(const uint8_t* bytes, std::size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutUInt32(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[4];
    CLittleEndian::WriteInt32(bytes, static_cast<int32_t>(value));
    out.insert(out.end(), bytes, bytes + 4);
}

void PutInt64(std::vector<uint8_t>& out, int64_t value) {
    const auto bits = static_cast<uint64_t>(value);
    PutUInt32(out, static_cast<uint32_t>(bits));
    PutUInt32(out, static_cast<uint32_t>(bits >> 32));
}

uint32_t GetUInt32(const uint8_t* bytes) {
    return static_cast<uint32_t>(CLittleEndian::ReadInt32(bytes));
}

int64_t GetInt64(const uint8_t* bytes) {
    return static_cast<int64_t>(GetUInt32(bytes) | static_cast<uint64_t>(GetUInt32(bytes + 4)) << 32);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::int64_t written = CNativeFile::Write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool HasChannel(uint8_t mask, int channel) {
    return (mask & CHistoryChannels::MaskBit(channel)) != 0;
}

// One block's payload: the series it adds to, or false when it does not add up.
bool ParseBlock(const uint8_t* payload, std::size_t size, CRecordJournal::Content& content) {
    if (size < 8)
        return false;
    const int64_t lastSampleTime = GetInt64(payload);
    std::size_t at = 8;
    std::array<std::pair<std::size_t, uint32_t>, CHistoryChannels::Count> parts{};
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        if (!HasChannel(content.header.Mask(), channel))
            continue;
        if (size - at < 4)
            return false;
        const uint32_t count = GetUInt32(payload + at);
        at += 4;
        if (count > (size - at) / 4)
            return false;
        parts[static_cast<std::size_t>(channel)] = {at, count};
        at += std::size_t{count} * 4;
    }
    if (at != size)
        return false;
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        const auto [offset, count] = parts[static_cast<std::size_t>(channel)];
        std::vector<float>& series = content.series[static_cast<std::size_t>(channel)];
        for (uint32_t i = 0; i < count; ++i)
            series.push_back(CLittleEndian::ReadFloat(payload + offset + std::size_t{i} * 4));
    }
    content.lastSampleTime = lastSampleTime;
    return true;
}

} // namespace

std::size_t CRecordJournal::Content::RowCount() const {
    std::size_t rows = 0;
    bool any = false;
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        if (!HasChannel(header.Mask(), channel))
            continue;
        const std::size_t count = series[static_cast<std::size_t>(channel)].size();
        rows = any ? std::min(rows, count) : count;
        any = true;
    }
    return rows;
}

CRecordJournal::~CRecordJournal() {
    Close();
}

std::string CRecordJournal::DefaultFolder() {
    return CAppPaths::Join(CAppPaths::UserDataDirectory(), "journal");
}

bool CRecordJournal::Begin(const std::string& folder, const HistoryHeader& header, int64_t startTime) {
    Close();
    std::error_code error;
    std::filesystem::create_directories(CFilePath::FromUtf8(folder), error);
    static std::atomic<unsigned> sequence{0};
    m_path = CAppPaths::Join(folder, "record-" + std::to_string(CNativeFile::ProcessId()) + "-" +
                                         std::to_string(sequence.fetch_add(1)) + kExtension);
    m_fd = CNativeFile::CreatePrivate(m_path);
    if (m_fd < 0)
        return false;
    // Held until the process ends, however it ends: a lock that can be taken marks an orphan.
    CNativeFile::TryLock(m_fd);
    m_mask = header.Mask() & CHistoryChannels::KnownMaskBits;
    for (auto& pending : m_pending)
        pending.clear();
    m_written.fill(0);

    std::vector<uint8_t> prologue;
    prologue.reserve(kPrologueSize);
    for (const char letter : kMagic)
        prologue.push_back(static_cast<uint8_t>(letter));
    for (const uint8_t byte : header.Image())
        prologue.push_back(byte);
    PutInt64(prologue, startTime);
    PutUInt32(prologue, Crc32(prologue.data(), prologue.size()));
    if (WriteAll(m_fd, prologue) && CNativeFile::SyncToDisk(m_fd))
        return true;
    Discard();
    return false;
}

void CRecordJournal::Add(int channel, float value) {
    if (IsOpen() && CHistoryChannels::IsValid(channel) && HasChannel(m_mask, channel))
        m_pending[static_cast<std::size_t>(channel)].push_back(value);
}

std::size_t CRecordJournal::Count(int channel) const {
    if (!CHistoryChannels::IsValid(channel))
        return 0;
    const auto index = static_cast<std::size_t>(channel);
    return m_written[index] + m_pending[index].size();
}

bool CRecordJournal::HasPending() const {
    return std::ranges::any_of(m_pending, [](const std::vector<float>& values) { return !values.empty(); });
}

bool CRecordJournal::Flush(int64_t lastSampleTime) {
    if (!IsOpen())
        return false;
    std::vector<uint8_t> payload;
    PutInt64(payload, lastSampleTime);
    for (int channel = 0; channel < CHistoryChannels::Count; ++channel) {
        if (!HasChannel(m_mask, channel))
            continue;
        const std::vector<float>& values = m_pending[static_cast<std::size_t>(channel)];
        PutUInt32(payload, static_cast<uint32_t>(values.size()));
        for (const float value : values) {
            uint8_t bytes[4];
            CLittleEndian::WriteFloat(bytes, value);
            payload.insert(payload.end(), bytes, bytes + 4);
        }
    }
    std::vector<uint8_t> block;
    PutUInt32(block, static_cast<uint32_t>(payload.size()));
    PutUInt32(block, Crc32(payload.data(), payload.size()));
    block.insert(block.end(), payload.begin(), payload.end());
    if (!WriteAll(m_fd, block) || !CNativeFile::SyncToDisk(m_fd))
        return false;
    for (std::size_t channel = 0; channel < m_pending.size(); ++channel) {
        m_written[channel] += m_pending[channel].size();
        m_pending[channel].clear();
    }
    return true;
}

void CRecordJournal::Discard() {
    if (m_path.empty())
        return;
    if (m_fd >= 0)
        CNativeFile::RemoveOpen(m_fd, m_path);
    else
        CNativeFile::Remove(m_path);
    m_fd = -1;
    m_path.clear();
}

void CRecordJournal::Close() {
    if (m_fd >= 0)
        CNativeFile::Close(m_fd);
    m_fd = -1;
    m_path.clear();
}

std::vector<std::string> CRecordJournal::Orphans(const std::string& folder) {
    std::vector<std::string> orphans;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(CFilePath::FromUtf8(folder), error)) {
        if (entry.path().extension() != kExtension || !entry.is_regular_file(error))
            continue;
        const std::string path = CFilePath::ToUtf8(entry.path());
        const int fd = CNativeFile::OpenForReading(path);
        if (fd < 0)
            continue;
        if (CNativeFile::TryLock(fd))
            orphans.push_back(path);
        CNativeFile::Close(fd); // also releases the lock
    }
    std::sort(orphans.begin(), orphans.end());
    return orphans;
}

CRecordJournal::ReadResult CRecordJournal::Read(const std::string& path, Content& content) {
    std::ifstream file(CFilePath::FromUtf8(path), std::ios::binary);
    if (!file)
        return ReadResult::Unreadable;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    return Parse(bytes.data(), bytes.size(), content);
}

CRecordJournal::ReadResult CRecordJournal::Parse(const uint8_t* bytes, std::size_t size, Content& content) {
    content = Content{};
    if (bytes == nullptr || size < kPrologueSize || std::memcmp(bytes, kMagic, sizeof kMagic) != 0 ||
        GetUInt32(bytes + kPrologueSize - 4) != Crc32(bytes, kPrologueSize - 4))
        return ReadResult::Unreadable;
    HistoryHeader::Bytes image;
    std::copy_n(bytes + sizeof kMagic, image.size(), image.begin());
    content.header = HistoryHeader(image);
    content.startTime = GetInt64(bytes + sizeof kMagic + HistoryHeader::Size);
    content.lastSampleTime = content.startTime;

    std::size_t at = kPrologueSize;
    while (at < size) {
        if (size - at < kBlockHeadSize)
            return ReadResult::TornTail;
        const uint32_t length = GetUInt32(bytes + at);
        const uint32_t crc = GetUInt32(bytes + at + 4);
        if (length > kMaxBlockBytes || length > size - at - kBlockHeadSize)
            return ReadResult::TornTail;
        const uint8_t* payload = bytes + at + kBlockHeadSize;
        if (Crc32(payload, length) != crc || !ParseBlock(payload, length, content))
            return ReadResult::TornTail;
        at += kBlockHeadSize + length;
    }
    return ReadResult::Complete;
}

CHistoryData CRecordJournal::ToHistory(const Content& content, std::size_t maxRows) {
    CHistoryRecorder::Series series;
    for (std::size_t channel = 0; channel < series.size(); ++channel)
        series[channel] = content.series[channel];
    const auto rows = static_cast<int>(std::min({content.RowCount(), maxRows, std::size_t{INT32_MAX}}));
    return CHistoryRecorder::BuildFromSeries(content.header, series, rows, content.startTime,
                                             content.lastSampleTime);
}
