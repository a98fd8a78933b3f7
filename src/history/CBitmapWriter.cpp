#include "history/CBitmapWriter.h"

#include "history/CAtomicFile.h"
#include "platform/CLittleEndian.h"

namespace {
void PutUInt16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutInt32(uint8_t* at, int64_t value) {
    CLittleEndian::WriteInt32(at, static_cast<int32_t>(value));
}
} // namespace

std::vector<uint8_t> CBitmapWriter::Encode(int width, int height, std::span<const uint32_t> pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 32 + 31) / 32 * 4;
    const std::size_t imageSize = rowBytes * static_cast<std::size_t>(height);
    std::vector<uint8_t> file(kPixelOffset + imageSize, 0);

    file[0] = 'B';
    file[1] = 'M';
    PutInt32(&file[2], static_cast<int64_t>(file.size()));
    PutInt32(&file[10], static_cast<int64_t>(kPixelOffset));

    uint8_t* info = &file[kFileHeaderSize];
    PutInt32(info, static_cast<int64_t>(kInfoHeaderSize));
    PutInt32(info + 4, width);
    PutInt32(info + 8, height); // positive: rows bottom-up
    PutUInt16(info + 12, 1);
    PutUInt16(info + 14, 32);
    // Compression (uncompressed), image size, resolutions and colour counts stay zero.

    for (int row = 0; row < height; ++row) {
        const uint32_t* source =
            &pixels[static_cast<std::size_t>(height - 1 - row) * static_cast<std::size_t>(width)];
        uint8_t* target = &file[kPixelOffset + static_cast<std::size_t>(row) * rowBytes];
        for (int column = 0; column < width; ++column, target += 4) {
            const uint32_t pixel = source[column];
            target[0] = static_cast<uint8_t>(pixel);
            target[1] = static_cast<uint8_t>(pixel >> 8);
            target[2] = static_cast<uint8_t>(pixel >> 16);
        }
    }
    return file;
}

bool CBitmapWriter::Write(const std::string& path, int width, int height, std::span<const uint32_t> pixels,
                          std::string* error) {
    const std::vector<uint8_t> bytes = Encode(width, height, pixels);
    if (bytes.empty()) {
        if (error)
            *error = "the image is empty";
        return false;
    }
    CAtomicFile file(path);
    const bool written = file.Open() && file.Write(bytes.data(), bytes.size()) && file.Commit();
    if (!written && error)
        *error = file.Error();
    return written;
}
