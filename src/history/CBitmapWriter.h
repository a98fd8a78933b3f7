#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Uncompressed 32-bit bitmap files: a 14-byte file header, a 40-byte info header and the
// pixel rows bottom-up, four bytes (blue, green, red, zero) per pixel. The layout is fixed,
// so the bytes are written here rather than by an image library that may choose another.
class CBitmapWriter {
public:
    static constexpr std::size_t kFileHeaderSize = 14;
    static constexpr std::size_t kInfoHeaderSize = 40;
    static constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;

    // The whole file. Pixels are 0x??RRGGBB, rows top-down, width x height of them; an image
    // whose pixel count does not match gives no bytes.
    static std::vector<uint8_t> Encode(int width, int height, std::span<const uint32_t> pixels);
    // Writes Encode() beside the target and replaces it only once every byte is written.
    static bool Write(const std::string& path, int width, int height, std::span<const uint32_t> pixels,
                      std::string* error = nullptr);
};
