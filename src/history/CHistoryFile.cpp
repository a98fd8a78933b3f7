#include "history/CHistoryFile.h"

#include "history/CAtomicFile.h"
#include "history/CHistoryChannels.h"
#include "history/LegacyHistoryHeader.h"
#include "platform/CLittleEndian.h"
#include "platform/CNativeFile.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

namespace {
// An opened regular file. Opening does not block on FIFOs or devices, which are refused.
class InputFile {
public:
    explicit InputFile(const std::string& path) {
        m_descriptor = CNativeFile::OpenForReading(path);
        if (m_descriptor < 0) {
            m_error = "cannot open the file: " + std::system_category().message(errno);
            return;
        }
        if (!CNativeFile::IsRegularFile(m_descriptor, &m_size)) {
            m_error = "not a regular file";
            Close();
        }
    }
    ~InputFile() { Close(); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool IsOpen() const { return m_descriptor >= 0; }
    const std::string& Error() const { return m_error; }
    std::int64_t Size() const { return m_size; }

    bool ReadExact(void* buffer, std::size_t size) {
        auto* bytes = static_cast<char*>(buffer);
        while (size > 0) {
            const std::int64_t count = CNativeFile::Read(m_descriptor, bytes, size);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                return false;
            bytes += count;
            size -= static_cast<std::size_t>(count);
        }
        return true;
    }

private:
    void Close() {
        if (m_descriptor >= 0)
            CNativeFile::Close(m_descriptor);
        m_descriptor = -1;
    }

    int m_descriptor = -1;
    std::int64_t m_size = 0;
    std::string m_error;
};

HistoryLoadResult Failure(std::string error) {
    return {false, false, std::move(error)};
}

bool ReadFirstByte(InputFile& file, uint8_t& firstByte) {
    return file.Size() > 0 && file.ReadExact(&firstByte, 1);
}

// Reads `bytes` bytes of little-endian 32-bit values following the header.
bool ReadValues(InputFile& file, std::int64_t bytes, std::vector<int32_t>& values) {
    values.resize(static_cast<std::size_t>(bytes / 4));
    if (!file.ReadExact(values.data(), values.size() * 4))
        return false;
    if constexpr (std::endian::native != std::endian::little) {
        for (int32_t& value : values)
            value = CLittleEndian::ReadInt32(reinterpret_cast<const uint8_t*>(&value));
    }
    return true;
}

std::string CheckRowBlock(std::int64_t bytes, std::int64_t rowSize) {
    if (bytes < 0)
        return "the header is incomplete";
    if (bytes % rowSize != 0)
        return "the data is not a whole number of rows";
    if (bytes > CHistoryFile::MaxRowBlockBytes)
        return "the file is too large";
    return {};
}

HistoryLoadResult ReadLegacy(InputFile& file, uint8_t firstByte, CHistoryData& data) {
    const std::int64_t rowBytes = file.Size() - static_cast<std::int64_t>(LegacyHistoryHeader::Size);
    if (std::string error = CheckRowBlock(rowBytes, LegacyHistoryHeader::RowSize); !error.empty())
        return Failure(error);
    LegacyHistoryHeader::Bytes image{};
    image[0] = firstByte;
    std::vector<int32_t> values;
    if (!file.ReadExact(image.data() + 1, image.size() - 1) || !ReadValues(file, rowBytes, values))
        return Failure("the file is shorter than its length");
    // Rows are AVG, PEAK, VSWR in the older layout and AVG, VSWR, PEAK in the current one.
    for (std::size_t row = 0; row + 2 < values.size(); row += 3)
        std::swap(values[row + 1], values[row + 2]);
    CHistoryData loaded(LegacyHistoryHeader(image).ToCurrent(), std::move(values));
    data.Swap(loaded);
    return {true, true, {}};
}

HistoryLoadResult ReadCurrent(InputFile& file, uint8_t firstByte, CHistoryData& data) {
    if ((firstByte & ~CHistoryChannels::KnownMaskBits) != 0)
        return Failure("the channel mask has unknown bits");
    const std::int64_t rowSize = 4 * CHistoryChannels::CountInMask(firstByte);
    const std::int64_t rowBytes = file.Size() - static_cast<std::int64_t>(HistoryHeader::Size);
    if (std::string error = CheckRowBlock(rowBytes, rowSize); !error.empty())
        return Failure(error);
    HistoryHeader::Bytes image{};
    image[0] = firstByte;
    std::vector<int32_t> values;
    if (!file.ReadExact(image.data() + 1, image.size() - 1) || !ReadValues(file, rowBytes, values))
        return Failure("the file is shorter than its length");
    CHistoryData loaded(HistoryHeader(image), std::move(values));
    data.Swap(loaded);
    return {true, false, {}};
}
} // namespace

bool CHistoryFile::IsLegacyHistoryFile(const std::string& path) {
    InputFile file(path);
    uint8_t firstByte = 0;
    return file.IsOpen() && ReadFirstByte(file, firstByte) &&
           LegacyHistoryHeader::IsLegacyFirstByte(firstByte);
}

HistoryLoadResult CHistoryFile::LoadHistory(const std::string& path, CHistoryData& data) {
    InputFile file(path);
    if (!file.IsOpen())
        return Failure(file.Error());
    uint8_t firstByte = 0;
    if (!ReadFirstByte(file, firstByte))
        return Failure("the file is empty");
    if (LegacyHistoryHeader::IsLegacyFirstByte(firstByte))
        return ReadLegacy(file, firstByte, data);
    return ReadCurrent(file, firstByte, data);
}

bool CHistoryFile::SaveHistoryRaw(const std::string& path, const HistoryHeader& header, const int32_t* rows,
                                  int rowCount, std::string* error) {
    const int perRow = CHistoryChannels::CountInMask(header.Mask());
    if (perRow == 0 || (header.Mask() & ~CHistoryChannels::KnownMaskBits) != 0 || rowCount < 0 ||
        (rowCount > 0 && !rows)) {
        if (error)
            *error = "the history has no valid channel mask or rows";
        return false;
    }
    // One buffer and one write: the file is mostly rows, and a call per row cost more than the disk.
    const std::size_t valueCount = static_cast<std::size_t>(rowCount) * static_cast<std::size_t>(perRow);
    std::vector<uint8_t> bytes(header.Image().size() + valueCount * 4);
    std::copy(header.Image().begin(), header.Image().end(), bytes.begin());
    uint8_t* out = bytes.data() + header.Image().size();
    if constexpr (std::endian::native == std::endian::little) {
        if (valueCount != 0)
            std::memcpy(out, rows, valueCount * 4);
    } else {
        for (std::size_t index = 0; index < valueCount; ++index)
            CLittleEndian::WriteInt32(out + index * 4, rows[index]);
    }
    CAtomicFile file(path);
    const bool written = file.Open() && file.Write(bytes.data(), bytes.size()) && file.Commit();
    if (!written && error)
        *error = file.Error();
    return written;
}

bool CHistoryFile::SaveHistoryRaw(const std::string& path, const CHistoryData& data, std::string* error) {
    return SaveHistoryRaw(path, data.Header(), data.Values().data(), data.RowCount(), error);
}
